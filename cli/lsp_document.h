// LspDocument: one document a language client has opened, and the two ways
// of saying where something stands in it.
//
// The protocol counts lines and characters from 0, characters in UTF-16
// code units unless client and server agreed on UTF-8 (bytes); the symbol
// index and the compiler count lines and columns from 1, columns in bytes.
// Lines end at LF. Positions past a line's end or the text's end are taken
// as the end. Bytes that are not UTF-8 count as one character each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "language/diagnostic.h"
#include "language/symbol_index.h"

enum class LspEncoding { utf16, utf8 };

struct LspPosition {
    int64_t line = 0;
    int64_t character = 0;
};

class LspDocument {
public:
    LspDocument(std::string text, int64_t version);

    const std::string &Text() const { return text; }
    int64_t Version() const { return version; }
    // Replaces the whole text, or the part between two positions.
    void Replace(std::string newText, int64_t newVersion);
    void Edit(const LspPosition &from, const LspPosition &to, const std::string &newText, LspEncoding encoding,
              int64_t newVersion);

    // The index of the current text, made when first asked for.
    const CSymbolIndex &Index();

    // Converting places
    // The byte offset of a position.
    size_t Offset(const LspPosition &position, LspEncoding encoding) const;
    // The index's line and column (from 1, bytes) of a position.
    CSourcePlace PlaceOf(const LspPosition &position, LspEncoding encoding) const;
    // The position of an index's line and column.
    LspPosition PositionOf(int32_t line, int32_t column, LspEncoding encoding) const;

private:
    void FindLines();

    std::string text;
    int64_t version;
    std::vector<size_t> lineStarts;
    std::unique_ptr<CSymbolIndex> index;
};
