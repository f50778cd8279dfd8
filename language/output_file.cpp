#include "language/output_file.h"

#include <utility>

#include "foundation/safe_file.h"

CPOutputFile::CPOutputFile(std::string directory, std::string name)
    : directory(std::move(directory)), name(std::move(name)) {}

int CPOutputFile::Open() { return 0; }

void CPOutputFile::WriteLine(const char *line) {
    text += line ? line : "";
    text += '\n';
}

int CPOutputFile::Close() {
    failure.clear();
    return quorvin::ReplaceFile(directory, name, text, failure) ? 0 : 2;
}
