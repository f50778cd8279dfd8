#include "foundation/written_file_name.h"

#include <cctype>
#include <cstring>

const char *const kOutsideFolderReason = "the name must lie below the knowledge base's folder";

bool IsAbsoluteFileName(const char *name) {
    if (name[0] == '/' || name[0] == '\\') return true;
    return std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

bool IsWritableFileName(const char *name) {
    if (name == nullptr || name[0] == '\0' || IsAbsoluteFileName(name)) return false;
    const char *part = name;
    while (true) {
        const size_t length = std::strcspn(part, "/\\");
        if (length == 2 && part[0] == '.' && part[1] == '.') return false;
        if (part[length] == '\0') return true;
        part += length + 1;
    }
}
