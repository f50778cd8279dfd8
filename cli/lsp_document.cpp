#include "lsp_document.h"

#include <algorithm>

namespace {

// UTF-16 code units of a byte: a lead byte of four starts a surrogate pair,
// a continuation byte belongs to the character before it.
int64_t Utf16Units(unsigned char byte) {
    if ((byte & 0xC0) == 0x80) return 0;
    return byte >= 0xF0 && byte <= 0xF7 ? 2 : 1;
}

}  // namespace

LspDocument::LspDocument(std::string initialText, int64_t initialVersion)
    : text(std::move(initialText)), version(initialVersion) {
    FindLines();
}

void LspDocument::Replace(std::string newText, int64_t newVersion) {
    text = std::move(newText);
    version = newVersion;
    FindLines();
}

void LspDocument::Edit(const LspPosition &from, const LspPosition &to, const std::string &newText,
                       LspEncoding encoding, int64_t newVersion) {
    const size_t first = Offset(from, encoding);
    const size_t last = std::max(first, Offset(to, encoding));
    Replace(text.substr(0, first) + newText + text.substr(last), newVersion);
}

const CSymbolIndex &LspDocument::Index() {
    if (!index) index = std::make_unique<CSymbolIndex>(CSymbolIndex::Read(text));
    return *index;
}

void LspDocument::FindLines() {
    index.reset();
    lineStarts.assign(1, 0);
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) lineStarts.push_back(i + 1);
}

size_t LspDocument::Offset(const LspPosition &position, LspEncoding encoding) const {
    if (position.line < 0) return 0;
    if (static_cast<size_t>(position.line) >= lineStarts.size()) return text.size();
    const size_t lineStart = lineStarts[position.line];
    const size_t lineEnd = static_cast<size_t>(position.line) + 1 < lineStarts.size()
                               ? lineStarts[position.line + 1] - 1
                               : text.size();
    if (encoding == LspEncoding::utf8)
        return lineStart + static_cast<size_t>(std::clamp<int64_t>(position.character, 0, lineEnd - lineStart));
    // Steps over whole characters until the count is reached.
    int64_t units = 0;
    size_t offset = lineStart;
    while (offset < lineEnd && units < position.character) {
        units += Utf16Units(static_cast<unsigned char>(text[offset]));
        ++offset;
        while (offset < lineEnd && Utf16Units(static_cast<unsigned char>(text[offset])) == 0) ++offset;
    }
    return offset;
}

CSourcePlace LspDocument::PlaceOf(const LspPosition &position, LspEncoding encoding) const {
    const int64_t line = std::clamp<int64_t>(position.line, 0, static_cast<int64_t>(lineStarts.size()) - 1);
    const size_t offset = Offset({line, position.character}, encoding);
    const auto column = static_cast<int32_t>(offset - lineStarts[line]) + 1;
    return {static_cast<int32_t>(line) + 1, column, column};
}

LspPosition LspDocument::PositionOf(int32_t line, int32_t column, LspEncoding encoding) const {
    if (line < 1) return {0, 0};
    if (static_cast<size_t>(line) > lineStarts.size()) return {static_cast<int64_t>(lineStarts.size()) - 1, 0};
    const size_t lineStart = lineStarts[line - 1];
    const size_t end = std::min(text.size(), lineStart + static_cast<size_t>(std::max(column - 1, 0)));
    if (encoding == LspEncoding::utf8) return {line - 1, static_cast<int64_t>(end - lineStart)};
    int64_t units = 0;
    for (size_t i = lineStart; i < end; ++i) units += Utf16Units(static_cast<unsigned char>(text[i]));
    return {line - 1, units};
}
