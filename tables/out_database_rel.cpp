#include "tables/out_database_rel.h"

#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "consult/params.h"
#include "consult/written_file_name.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

COutDatabaseRel::COutDatabaseRel(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

COutDatabaseRel::~COutDatabaseRel() { CloseFile(); }

int32_t COutDatabaseRel::Write(CParameters *parameters, CInferenceNet *net, CTable * /*table*/) {
    CString kind;
    GetName(kind);
    if (!parameters->HasParam(kind) || !KeyValue(parameters, kOutputParams, keyValue)) return 2;
    if (!IsWritableFileName(parameters->GetParam(kind).Text())) return 2;
    // A key holding the separator or a line end would shift the values into
    // the wrong columns or start a row of its own: no row is written.
    const char forbidden[] = {GetSeparator(), '\n', '\r', '\0'};
    if (std::strpbrk(keyValue.Text(), forbidden) != nullptr) return 2;
    keyColumnName = KeyColumnName(parameters, kOutputParams);
    if (ReadHeader(environment.ResolvePath(parameters->GetParam(kind))) != 0) return 2;
    int32_t status = WriteRow(net);
    CloseFile();
    return status;
}

bool COutDatabaseRel::ReadField(CTextFile &source, CString &text) { return ReadRelField(source, GetSeparator(), text); }

void COutDatabaseRel::CloseFile() {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
}

// True when the file is empty or its last byte is a line end. Leaves the
// stream positioned for writing.
static bool EndsWithLineEnd(std::FILE *file) {
    bool lineEnd = true;
    if (std::fseek(file, -1, SEEK_END) == 0) lineEnd = std::fgetc(file) == '\n';
    std::fseek(file, 0, SEEK_END);
    return lineEnd;
}

// Opens an existing file for reading and appending; null when it does not
// exist (it is never created) or cannot be opened.
static std::FILE *OpenForAppending(const std::string &path) {
    int descriptor = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) return nullptr;
    std::FILE *file = ::fdopen(descriptor, "a+b");
    if (file == nullptr) ::close(descriptor);
    return file;
}

int32_t COutDatabaseRel::ReadHeader(const std::string &path) {
    CloseFile();
    {
        CTextFile source;
        if (!source.Open(path)) return 2;
        ReadRelRow(source, [this](CTextFile &from, CString &text) { return ReadField(from, text); }, headerNames);
    }
    file = OpenForAppending(path);
    if (file == nullptr) return 2;
    if (!EndsWithLineEnd(file)) std::fputc('\n', file);
    return 0;
}

int32_t COutDatabaseRel::WriteRow(CInferenceNet *net) {
    if (file == nullptr) return 2;
    bool written = true;
    for (int32_t i = 0; i < headerNames.Count(); ++i) {
        const CString &column = headerNames.At(i);
        CString text = "?";
        const CNode *node = nullptr;
        if (column.Equals(keyColumnName))
            text = keyValue;
        else if ((node = net->FindNode(column)) != nullptr)
            text = CString(node->current);
        if (i > 0) written = std::fputc(GetSeparator(), file) != EOF && written;
        written = std::fputs(text.Text(), file) >= 0 && written;
    }
    written = std::fputc('\n', file) != EOF && written;
    return written && std::fflush(file) == 0 ? 0 : 2;
}

int32_t COutDatabaseRelTxtTab::GetName(CString &kindName) {
    kindName = "odbtxtreltab";
    return 0;
}

int32_t COutDatabaseRelTxtComma::GetName(CString &kindName) {
    kindName = "odbtxtrelcomma";
    return 0;
}
