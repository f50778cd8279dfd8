// One dBASE (.dbf) file, read and appended to through shapelib.
//
// Before shapelib sees a file its header is checked against the file's
// size: a file shorter than its header and records claim (a truncated copy,
// or one whose record count lies), or whose fields do not fit its record
// length, is refused, so that nothing is read past its end.
#pragma once

#include <shapefil.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct CDbfField {
    std::string name;
    char type = 'C';  // dBASE's own letter: C, N, F, L, D, ...
    int width = 0;
    int decimals = 0;
};

// The declared type as the browser shows it: "C(20)", "N(10,2)", "L".
std::string DbfTypeText(const CDbfField &field);

// False, with the reason, when the header does not fit the file (see above).
bool CheckDbfHeader(const std::string &path, std::string &reason);

class CDbfFile {
public:
    // Null, with the reason, when the file is missing, damaged or cannot be
    // opened as asked.
    static std::unique_ptr<CDbfFile> Open(const std::string &path, bool writable, std::string &reason);
    ~CDbfFile();
    CDbfFile(const CDbfFile &) = delete;
    CDbfFile &operator=(const CDbfFile &) = delete;

    const std::vector<CDbfField> &Fields() const { return fields; }
    int RecordCount() const;
    bool IsDeleted(int record) const;
    // A field's value, blanks trimmed; none for a null (empty) field.
    std::optional<std::string> Value(int record, int field) const;
    // Appends a record; values[i] is the text of field i, none for null.
    // Numbers ("0,5" or "0.5") go to numeric fields as numbers; a text a
    // field cannot hold leaves it null. False when the record was not
    // written.
    bool AppendRecord(const std::vector<std::optional<std::string>> &values);

private:
    explicit CDbfFile(DBFHandle opened);

    DBFHandle handle;
    std::vector<CDbfField> fields;
};
