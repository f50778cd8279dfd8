#include "tables/dbf_file.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <fstream>

#include "tables/sqlite_values.h"

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr unsigned char kDescriptorsEnd = 0x0D;

uint32_t Little(const unsigned char *bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

bool IsNumeric(char type) { return type == 'N' || type == 'F'; }

}  // namespace

std::string DbfTypeText(const CDbfField &field) {
    std::string text(1, field.type);
    if (field.type == 'L' || field.type == 'D') return text;
    text += "(" + std::to_string(field.width);
    if (IsNumeric(field.type) && field.decimals > 0) text += "," + std::to_string(field.decimals);
    return text + ")";
}

bool CheckDbfHeader(const std::string &path, std::string &reason) {
    struct stat info;
    std::ifstream file(path, std::ios::binary);
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !file) {
        reason = "cannot open " + path;
        return false;
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    unsigned char header[kHeaderSize] = {};
    reason = "the dBASE file " + path + " is damaged";
    if (!file.read(reinterpret_cast<char *>(header), kHeaderSize)) return false;
    const uint64_t records = Little(header + 4, 4);
    const uint64_t headerLength = Little(header + 8, 2);
    const uint64_t recordLength = Little(header + 10, 2);
    if (headerLength < kHeaderSize + 1 || recordLength < 1 || size < headerLength + records * recordLength)
        return false;
    // The field descriptors must end inside the header, and the fields fit
    // the record after its deletion flag.
    uint64_t widths = 1;
    for (uint64_t at = kHeaderSize;; at += kDescriptorSize) {
        unsigned char descriptor[kDescriptorSize] = {};
        if (at >= headerLength || !file.read(reinterpret_cast<char *>(descriptor), 1)) return false;
        if (descriptor[0] == kDescriptorsEnd) break;
        if (at + kDescriptorSize > headerLength ||
            !file.read(reinterpret_cast<char *>(descriptor + 1), kDescriptorSize - 1))
            return false;
        widths += descriptor[16];
    }
    if (widths > recordLength) return false;
    reason.clear();
    return true;
}

std::unique_ptr<CDbfFile> CDbfFile::Open(const std::string &path, bool writable, std::string &reason) {
    if (!CheckDbfHeader(path, reason)) return nullptr;
    DBFHandle handle = DBFOpen(path.c_str(), writable ? "rb+" : "rb");
    if (handle == nullptr) {
        reason = "cannot open " + path;
        return nullptr;
    }
    return std::unique_ptr<CDbfFile>(new CDbfFile(handle));
}

CDbfFile::CDbfFile(DBFHandle opened) : handle(opened) {
    for (int i = 0; i < DBFGetFieldCount(handle); ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        CDbfField field;
        DBFGetFieldInfo(handle, i, name, &field.width, &field.decimals);
        field.name = name;
        field.type = DBFGetNativeFieldType(handle, i);
        fields.push_back(field);
    }
}

CDbfFile::~CDbfFile() { DBFClose(handle); }

int CDbfFile::RecordCount() const { return DBFGetRecordCount(handle); }

bool CDbfFile::IsDeleted(int record) const { return DBFIsRecordDeleted(handle, record) != 0; }

std::optional<std::string> CDbfFile::Value(int record, int field) const {
    if (DBFIsAttributeNULL(handle, record, field)) return std::nullopt;
    const char *text = DBFReadStringAttribute(handle, record, field);
    return std::string(text == nullptr ? "" : text);
}

bool CDbfFile::AppendRecord(const std::vector<std::optional<std::string>> &values) {
    const int record = RecordCount();
    bool written = true;
    for (size_t i = 0; i < fields.size(); ++i) {
        const int field = static_cast<int>(i);
        const std::optional<std::string> &value = i < values.size() ? values[i] : std::nullopt;
        double number = 0.0;
        bool stored = false;
        if (value && IsNumeric(fields[i].type)) {
            if (ParseEngineNumber(*value, number) && std::isfinite(number))
                stored = DBFWriteDoubleAttribute(handle, record, field, number) != 0;
        } else if (value) {
            // A text longer than its field keeps the field's width: shapelib
            // writes that much and says false.
            DBFWriteStringAttribute(handle, record, field, value->c_str());
            stored = true;
        }
        // The first write makes the record; a field that could not be
        // written is left null, as a value it cannot hold.
        if (!stored) written = DBFWriteNULLAttribute(handle, record, field) != 0 && written;
    }
    return written && RecordCount() == record + 1;
}
