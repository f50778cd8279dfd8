#include "foundation/text_stream.h"

#include <cstdlib>
#include <stdio.h>

namespace quorvin {

CTextStream::CTextStream() { OpenStream(); }

CTextStream::~CTextStream() { CloseStream(); }

std::string CTextStream::Take() {
    if (stream != nullptr) std::fflush(stream);
    std::string text(buffer != nullptr ? buffer : "", buffer != nullptr ? size : 0);
    CloseStream();
    OpenStream();
    return text;
}

void CTextStream::OpenStream() {
    stream = ::open_memstream(&buffer, &size);
}

void CTextStream::CloseStream() {
    if (stream != nullptr) std::fclose(stream);
    stream = nullptr;
    std::free(buffer);
    buffer = nullptr;
    size = 0;
}

}  // namespace quorvin
