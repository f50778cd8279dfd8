#include "language/output_file.h"

#include "language/written_file.h"

CPOutputFile::CPOutputFile(const char *path) : file(OpenWrittenFile(path, "w")) {}

CPOutputFile::~CPOutputFile() {
    if (file) std::fclose(file);
}

int CPOutputFile::Open() { return file ? 0 : 2; }

void CPOutputFile::WriteLine(const char *text) {
    if (!file) return;
    std::fprintf(file, "%s\n", text ? text : "");
}
