#include "tables/spool_engine.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "tables/append_groups.h"

namespace {

// A spool line: alias, table, then name and value of every field set, each
// escaped so that a tab, a line end or a backslash in a value stays data.
void AppendEscaped(std::string &line, const char *text) {
    for (const char *c = text; *c != '\0'; ++c) {
        switch (*c) {
            case '\\': line += "\\\\"; break;
            case '\t': line += "\\t"; break;
            case '\n': line += "\\n"; break;
            case '\r': line += "\\r"; break;
            default: line += *c;
        }
    }
}

std::vector<std::string> SplitEscaped(const std::string &line) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            parts.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            parts.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool WriteAll(int descriptor, const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// A table opened for appending whose record goes to the spool.
class CSpoolTable : public CEngineTable {
public:
    CSpoolTable(std::unique_ptr<CEngineTable> realTable, std::string head, const std::string &path)
        : real(std::move(realTable)), line(std::move(head)), spoolPath(path) {}

    int32_t FieldNames(CStringVector &out) override { return real == nullptr ? 2 : real->FieldNames(out); }
    int32_t SetFilter(const CString &, const CString &) override { return 2; }
    int32_t First() override { return 2; }
    int32_t FieldCount() override { return 0; }
    bool IsNull(int32_t) override { return true; }
    int32_t FieldText(int32_t, CString &) override { return 2; }

    int32_t Append() override { return real == nullptr ? 2 : 0; }
    int32_t FindField(const CString &name, int32_t &position) override {
        if (real == nullptr) return 2;
        return real->FindField(name, position);
    }
    int32_t SetFieldText(int32_t position, const CString &text) override {
        if (real == nullptr || position < 0) return 2;
        if (names.Count() == 0 && real->FieldNames(names) != 0) return 2;
        if (position >= names.Count()) return 2;
        line += '\t';
        AppendEscaped(line, names.At(position).Text());
        line += '\t';
        AppendEscaped(line, text.Text());
        return 0;
    }
    // The whole record is one write, so a job that is stopped leaves whole
    // records only.
    int32_t Post() override {
        if (real == nullptr) return 2;
        const int descriptor = ::open(spoolPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (descriptor < 0) return 2;
        const bool written = WriteAll(descriptor, line + '\n');
        return ::close(descriptor) == 0 && written ? 0 : 2;
    }
    void Close() override { real.reset(); }

private:
    std::unique_ptr<CEngineTable> real;
    CStringVector names;  // the real table's, read at the first field set
    std::string line;
    std::string spoolPath;
};

bool StoreRecord(CDatabaseEngine &engine, const std::vector<std::string> &parts, std::string &reason) {
    std::unique_ptr<CEngineTable> table;
    const CString alias(parts[0].c_str());
    const CString tableName(parts[1].c_str());
    if (engine.OpenTable(alias, tableName, CEngineAccess::Append, table) != 0 || table->Append() != 0) {
        const std::string why = engine.LastFailure();
        reason = "cannot append to table " + parts[1] + (why.empty() ? "" : ": " + why);
        return false;
    }
    for (size_t i = 2; i + 1 < parts.size(); i += 2) {
        int32_t position = -1;
        if (table->FindField(CString(parts[i].c_str()), position) == 0)
            table->SetFieldText(position, CString(parts[i + 1].c_str()));
    }
    const int32_t status = table->Post();
    table->Close();
    if (status != 0) reason = "a record of table " + parts[1] + " was not stored";
    return status == 0;
}

}  // namespace

CSpoolEngine::CSpoolEngine(CDatabaseEngine &realEngine, std::string path)
    : real(realEngine), spoolPath(std::move(path)) {}

int32_t CSpoolEngine::OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                                std::unique_ptr<CEngineTable> &table) {
    if (access == CEngineAccess::Read) return real.OpenTable(alias, tableName, access, table);
    table.reset();
    std::unique_ptr<CEngineTable> realTable;
    if (real.OpenTable(alias, tableName, access, realTable) != 0) return 2;
    std::string head;
    AppendEscaped(head, alias.Text());
    head += '\t';
    AppendEscaped(head, tableName.Text());
    table = std::make_unique<CSpoolTable>(std::move(realTable), std::move(head), spoolPath);
    return 0;
}

int32_t CSpoolEngine::RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) {
    return real.RunQuery(alias, queryText, query);
}

int32_t CSpoolEngine::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                  const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    return real.RunKeyQuery(alias, tableName, keyColumn, condition, query);
}

std::string CSpoolEngine::LastFailure() const { return real.LastFailure(); }

bool CSpoolEngine::ConnectionLost(const CString &alias) const { return real.ConnectionLost(alias); }

int32_t CSpoolEngine::ListTables(const CString &alias, std::vector<std::string> &tables) {
    return real.ListTables(alias, tables);
}

int32_t CSpoolEngine::ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) {
    return real.ListFields(alias, tableName, fields);
}

int32_t CSpoolEngine::QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) {
    return real.QueryRecords(alias, query, page);
}

bool ReplaySpool(CDatabaseEngine &engine, const std::string &spoolPath, std::string &reason) {
    std::ifstream in(spoolPath, std::ios::binary);
    if (!in) return true;
    // Groups big enough that commits cost little, small enough that a
    // failure loses few records that were already sent.
    CAppendGroups groups(engine, {1000, std::chrono::hours(1)});
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> parts = SplitEscaped(line);
        if (parts.size() < 2) continue;
        if (!groups.Enter(parts[0], reason)) return false;
        if (!StoreRecord(engine, parts, reason)) {
            // What was stored before the failure stays stored.
            std::string ignored;
            groups.End(ignored);
            return false;
        }
    }
    return groups.End(reason);
}
