#include "tables/dbf_engine.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "foundation/safe_file.h"
#include "foundation/written_file_name.h"
#include "tables/dbf_file.h"
#include "tables/dbf_key_index.h"
#include "tables/sqlite_values.h"
#include "tables/field_names.h"
#include "tables/table_environment.h"

namespace {

constexpr const char *kExtension = ".dbf";

// The .dbf files of a directory: table name to file name, sorted by table.
std::vector<std::pair<std::string, std::string>> TableFiles(const std::string &directory) {
    std::vector<std::pair<std::string, std::string>> tables;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string file = entry.path().filename().string();
        const size_t length = std::char_traits<char>::length(kExtension);
        if (file.size() <= length || strcasecmp(file.c_str() + file.size() - length, kExtension) != 0) continue;
        if (entry.is_regular_file(error)) tables.emplace_back(file.substr(0, file.size() - length), file);
    }
    std::sort(tables.begin(), tables.end());
    return tables;
}

// Does a field value pass the comparison with the value asked for? Numeric
// fields compare as numbers, the others as texts.
bool Passes(const CDbfField &field, const std::optional<std::string> &value, CComparison comparison,
            const std::string &wanted) {
    if (!value) return false;
    int order = 0;
    double left = 0.0, right = 0.0;
    if ((field.type == 'N' || field.type == 'F') && ParseEngineNumber(*value, left) &&
        ParseEngineNumber(wanted, right))
        order = left < right ? -1 : (left > right ? 1 : 0);
    else
        order = value->compare(wanted) < 0 ? -1 : (value->compare(wanted) > 0 ? 1 : 0);
    switch (comparison) {
    case CComparison::Equal: return order == 0;
    case CComparison::NotEqual: return order != 0;
    case CComparison::Less: return order < 0;
    case CComparison::LessOrEqual: return order <= 0;
    case CComparison::Greater: return order > 0;
    case CComparison::GreaterOrEqual: return order >= 0;
    }
    return false;
}

class CDbfTable : public CEngineTable {
public:
    CDbfTable(std::shared_ptr<CDbfFile> opened, std::string filePath, std::shared_ptr<CDbfKeyIndexes> keyIndexes)
        : file(std::move(opened)), path(std::move(filePath)), indexes(std::move(keyIndexes)) {}
    ~CDbfTable() override { Close(); }

    int32_t FieldNames(CStringVector &names) override {
        if (!file) return 2;
        names.Reset();
        for (const CDbfField &field : file->Fields()) names.Add(CString(field.name.c_str()));
        return 0;
    }

    int32_t SetFilter(const CString &keyColumn, const CString &keyValue) override {
        if (!file) return 2;
        key = FieldIndex(file->Fields(), keyColumn.Text());
        wanted = keyValue.Text();
        return key < 0 ? 2 : 0;
    }

    int32_t First() override {
        current = -1;
        if (!file) return 2;
        if (key >= 0) {
            current = indexes->Find(*file, path, key, wanted);
        } else {
            for (int record = 0; record < file->RecordCount() && current < 0; ++record)
                if (!file->IsDeleted(record)) current = record;
        }
        return current >= 0 ? 0 : 2;
    }

    int32_t FieldCount() override { return file ? static_cast<int32_t>(file->Fields().size()) : 0; }

    bool IsNull(int32_t position) override { return OnRecord(position) && !file->Value(current, position); }

    int32_t FieldText(int32_t position, CString &text) override {
        if (!OnRecord(position)) return 2;
        text = file->Value(current, position).value_or(std::string()).c_str();
        return 0;
    }

    int32_t Append() override {
        if (!file) return 2;
        pending.assign(file->Fields().size(), std::nullopt);
        appending = true;
        return 0;
    }

    int32_t FindField(const CString &fieldName, int32_t &position) override {
        const int found = file ? FieldIndex(file->Fields(), fieldName.Text()) : -1;
        if (found < 0) return 2;
        position = found;
        return 0;
    }

    int32_t SetFieldText(int32_t position, const CString &text) override {
        if (!appending || position < 0 || position >= FieldCount()) return 2;
        const std::string value = text.Text();
        // Don't know is null in a numeric field, as in the other engines.
        const char type = file->Fields()[position].type;
        if (value == "?" && (type == 'N' || type == 'F'))
            pending[position] = std::nullopt;
        else
            pending[position] = value;
        return 0;
    }

    int32_t Post() override {
        if (!file || !appending) return 2;
        appending = false;
        return file->AppendRecord(pending) ? 0 : 2;
    }

    void Close() override {
        file.reset();
        appending = false;
    }

private:
    bool OnRecord(int32_t position) const {
        return file && current >= 0 && position >= 0 && static_cast<size_t>(position) < file->Fields().size();
    }

    std::shared_ptr<CDbfFile> file;
    std::string path;
    std::shared_ptr<CDbfKeyIndexes> indexes;
    int key = -1;
    std::string wanted;
    int current = -1;
    std::vector<std::optional<std::string>> pending;
    bool appending = false;
};

// The key column of every record, in file order.
class CDbfKeys : public CEngineQuery {
public:
    CDbfKeys(std::shared_ptr<CDbfFile> opened, int keyField) : file(std::move(opened)), key(keyField) {}

    int32_t NextRow(bool &hasRow) override {
        hasRow = false;
        if (!file) return 2;
        while (++record < file->RecordCount() && file->IsDeleted(record)) {
        }
        hasRow = record < file->RecordCount();
        return 0;
    }

    int32_t FirstColumnText(CString &text) override {
        if (!file || record < 0 || record >= file->RecordCount()) return 2;
        text = file->Value(record, key).value_or(std::string()).c_str();
        return 0;
    }

    void CloseQuery() override { file.reset(); }

private:
    std::shared_ptr<CDbfFile> file;
    int key;
    int record = -1;
};

}  // namespace

CDbfEngine::CDbfEngine(const CTableEnvironment &tableEnvironment)
    : environment(tableEnvironment), keyIndexes(std::make_shared<CDbfKeyIndexes>()) {}

int32_t CDbfEngine::Fail(const std::string &reason) {
    lastFailure = reason;
    return 2;
}

std::shared_ptr<CDbfFile> CDbfEngine::OpenFile(const CString &alias, const std::string &tableName, bool writable,
                                               std::string *openedPath) {
    const CDatabaseLocation where = environment.Locate(alias);
    std::optional<std::string> fileName;
    for (const auto &[table, file] : TableFiles(where.location))
        if (SameName(table, tableName)) fileName = file;
    if (!fileName || tableName.empty()) {
        Fail("no table " + tableName + " in database " + alias.Text());
        return nullptr;
    }
    if (writable && !where.definedAlias) {
        const std::string relative = std::string(alias.Text()) + "/" + *fileName;
        uint64_t device = 0, inode = 0;
        if (!IsWritableFileName(alias.Text())) {
            Fail(kOutsideFolderReason);
            return nullptr;
        }
        if (!quorvin::CheckExistingFile(environment.baseDirectory.Text(), relative, device, inode, lastFailure))
            return nullptr;
    }
    std::string reason;
    const std::string path = where.location + "/" + *fileName;
    std::shared_ptr<CDbfFile> file = CDbfFile::Open(path, writable, reason);
    if (!file) Fail(reason);
    if (openedPath != nullptr) *openedPath = path;
    return file;
}

int32_t CDbfEngine::OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                              std::unique_ptr<CEngineTable> &table) {
    table.reset();
    lastFailure.clear();
    std::string path;
    std::shared_ptr<CDbfFile> file = OpenFile(alias, tableName.Text(), access == CEngineAccess::Append, &path);
    if (!file) return 2;
    table = std::make_unique<CDbfTable>(std::move(file), path, keyIndexes);
    return 0;
}

int32_t CDbfEngine::RunQuery(const CString &, const CString &, std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    return Fail("dBASE tables take no SQL");
}

int32_t CDbfEngine::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    lastFailure.clear();
    if (!condition.IsEmpty()) return Fail("dBASE tables take no batch condition");
    std::shared_ptr<CDbfFile> file = OpenFile(alias, tableName.Text(), false);
    if (!file) return 2;
    const int key = FieldIndex(file->Fields(), keyColumn.Text());
    if (key < 0) return Fail(std::string("no field ") + keyColumn.Text() + " in table " + tableName.Text());
    query = std::make_unique<CDbfKeys>(std::move(file), key);
    return 0;
}

int32_t CDbfEngine::ListTables(const CString &alias, std::vector<std::string> &tables) {
    tables.clear();
    lastFailure.clear();
    const CDatabaseLocation where = environment.Locate(alias);
    std::error_code error;
    if (!std::filesystem::is_directory(where.location, error)) return Fail("no directory " + where.location);
    for (const auto &entry : TableFiles(where.location)) tables.push_back(entry.first);
    return 0;
}

int32_t CDbfEngine::ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) {
    fields.clear();
    lastFailure.clear();
    std::shared_ptr<CDbfFile> file = OpenFile(alias, tableName.Text(), false);
    if (!file) return 2;
    for (const CDbfField &field : file->Fields()) fields.push_back({field.name, DbfTypeText(field)});
    return 0;
}

int32_t CDbfEngine::QueryRecords(const CString &alias, const CRecordQuery &request, CRecordPage &page) {
    page = CRecordPage();
    lastFailure.clear();
    std::shared_ptr<CDbfFile> file = OpenFile(alias, request.table, false);
    if (!file) return 2;
    const int field = request.field.empty() ? -1 : FieldIndex(file->Fields(), request.field);
    if (!request.field.empty() && field < 0)
        return Fail("no field " + request.field + " in table " + request.table);
    for (const CDbfField &column : file->Fields()) page.columns.push_back(column.name);
    int64_t matched = 0;
    for (int record = 0; record < file->RecordCount(); ++record) {
        if (file->IsDeleted(record)) continue;
        if (field >= 0 && !Passes(file->Fields()[field], file->Value(record, field), request.comparison, request.value))
            continue;
        if (matched++ < request.offset) continue;
        if (static_cast<int64_t>(page.rows.size()) == request.limit) {
            page.more = true;
            break;
        }
        std::vector<std::optional<std::string>> values;
        for (size_t column = 0; column < file->Fields().size(); ++column)
            values.push_back(file->Value(record, static_cast<int>(column)));
        page.rows.push_back(std::move(values));
    }
    return 0;
}
