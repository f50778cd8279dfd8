#include "tables/out_database_rel.h"

#include <algorithm>
#include <cstring>

#include "net/params.h"
#include "foundation/written_file_name.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

COutDatabaseRel::COutDatabaseRel(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment)
    : format(tableFormat), environment(tableEnvironment) {}

COutDatabaseRel::~COutDatabaseRel() { CloseFile(); }

int32_t COutDatabaseRel::GetName(CString &kindName) {
    kindName = format.output;
    return 0;
}

int32_t COutDatabaseRel::Fail(const CString &name, const std::string &why) {
    failure = OutputFileFailure(name, why);
    return 2;
}

int32_t COutDatabaseRel::Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource * /*source*/) {
    failure.clear();
    if (!parameters->HasParam(format.output) || !KeyValue(parameters, kOutputParams, keyValue)) return 0;
    const CString name = parameters->GetParam(format.output);
    if (!IsWritableFileName(name.Text())) return Fail(name, kOutsideFolderReason);
    // A key holding the separator or a line end would shift the values into
    // the wrong columns or start a row of its own: no row is written.
    const char forbidden[] = {GetSeparator(), '\n', '\r', '\0'};
    if (std::strpbrk(keyValue.Text(), forbidden) != nullptr)
        return Fail(name, "the key holds the separator or a line end");
    keyColumnName = KeyColumnName(parameters, kOutputParams);
    int32_t status = ReadHeader(name.Text());
    if (status == 0) status = WriteRow(net);
    CloseFile();
    if (status != 0) return Fail(name, reason);
    return 0;
}

bool COutDatabaseRel::ReadField(CTextFile &source, CString &text) { return ReadRelField(source, GetSeparator(), text); }

void COutDatabaseRel::CloseFile() {
    std::string ignored;
    file.Close(ignored);
}

int32_t COutDatabaseRel::ReadHeader(const std::string &name) {
    CloseFile();
    const CShard &shard = environment.shard;
    if (!file.Open(environment.baseDirectory.Text(), shard.FileName(name), shard.Active(), reason)) return 2;
    // A shard's file starts with the header of the output it stands for,
    // so that its rows have the output's columns.
    if (shard.Active() && file.Size() == 0 && !CopyHeaderLine(name)) return 2;
    // The header read before stays while the file is as the last row
    // written left it; a file changed or replaced since is read again.
    const CFileStamp stamp = CFileStamp::OfDescriptor(file.Descriptor());
    // The file is locked: no other writer changes its size until the row
    // is written.
    lockedSize = stamp.size;
    const std::string path = std::string(environment.baseDirectory.Text()) + '\0' + shard.FileName(name);
    if (headerKept && stamp.exists && stamp == keptStamp && path == keptPath) return 0;
    headerKept = false;
    CTextFile source;
    if (!source.OpenDescriptor(file.Descriptor())) {
        reason = "cannot be read";
        return 2;
    }
    ReadRelRow(source, [this](CTextFile &from, CString &text) { return ReadField(from, text); }, headerNames);
    keptPath = path;
    return 0;
}

bool COutDatabaseRel::CopyHeaderLine(const std::string &name) {
    quorvin::CLockedAppend output;
    if (!output.Open(environment.baseDirectory.Text(), name, false, reason)) return false;
    std::string line;
    for (int64_t offset = 0; line.find('\n') == std::string::npos; offset += 4096) {
        const std::string block = output.ReadAt(offset, 4096);
        if (block.empty()) break;
        line += block;
    }
    std::string ignored;
    output.Close(ignored);
    const size_t end = line.find('\n');
    line = end == std::string::npos ? line + '\n' : line.substr(0, end + 1);
    return file.Append(line, reason);
}

bool COutDatabaseRel::EndLastLine(std::string &prefix) {
    const int64_t size = lockedSize;
    if (size == 0 || file.ReadAt(size - 1, 1) == "\n") return true;
    // Find where the last line starts, reading back a block at a time.
    int64_t lineStart = 0;
    for (int64_t end = size; end > 0 && lineStart == 0;) {
        const int64_t begin = end > 4096 ? end - 4096 : 0;
        const std::string block = file.ReadAt(begin, end - begin);
        const size_t lineEnd = block.rfind('\n');
        if (lineEnd != std::string::npos) lineStart = begin + static_cast<int64_t>(lineEnd) + 1;
        end = begin;
    }
    const std::string last = file.ReadAt(lineStart, size - lineStart);
    const auto fields = 1 + std::count(last.begin(), last.end(), GetSeparator());
    if (lineStart == 0 || fields >= headerNames.Count()) {
        prefix = "\n";
        return true;
    }
    if (!file.TruncateTo(lineStart, reason)) return false;
    lockedSize = lineStart;
    return true;
}

CString COutDatabaseRel::ColumnText(const CString &column, CInferenceNet *net) const {
    if (column.Equals(keyColumnName)) return keyValue;
    const CNode *node = net->FindNode(column);
    return node == nullptr ? CString("?") : CString(node->current);
}

int32_t COutDatabaseRel::WriteRow(CInferenceNet *net) {
    std::string row;
    headerKept = false;
    if (!EndLastLine(row)) return 2;
    for (int32_t i = 0; i < headerNames.Count(); ++i) {
        if (i > 0) row += GetSeparator();
        row += ColumnText(headerNames.At(i), net).Text();
    }
    row += '\n';
    if (!file.AppendAt(lockedSize, row, reason)) return 2;
    keptStamp = CFileStamp::OfDescriptor(file.Descriptor());
    headerKept = keptStamp.exists;
    return 0;
}
