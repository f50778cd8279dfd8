// ITokenReader: how retrievers and translators read their own parameters
// from a knowledge base's text.
//
// While a node declaration is compiled, the compiler hands itself, as a
// token reader, to the `ReadParameters` of the node's retrievers and
// translator, which read the tokens of their own parameter syntax through the
// operations below. The retrievers thus depend on this interface only, not on
// the compiler.
//
// The contract for parameter readers:
//
// - Entry. A retriever's reader is called while the retriever's name is the
//   current token: "winchoice" in `retriever (winchoice ('a', 'b'))`. A
//   translator's reader is called while the first token inside the clause's
//   parentheses is current: the inner "(" in `translator ((1, 2) (0, 1))`,
//   the ")" in `translator ( )`.
// - Exit on success (result 0). A retriever's reader leaves the current token
//   on the last token of its parameters (the ")" that closes its list), or,
//   when it reads nothing, on the retriever's name: the compiler then steps
//   over that token itself. A translator's reader leaves the current token on
//   the clause's closing ")", which the compiler tests.
// - Failure. A reader reports a fault by returning 2, wherever the current
//   token then stands; the compiler then reports "error in reading retriever
//   parameters" or "error in reading translator parameters" with the line of
//   the current token. Readers never raise an exception: they run inside the
//   run-time table, which must not be unwound halfway through an attachment.
// - `Next` always returns a token: at the end of the source it returns
//   tokEnd again and again, and a lexical fault is tokError. A reader that
//   loops until some token must stop at either of them and fail.
// - `Text` and `Number` describe the last name, text or number token read; the
//   text is at most 255 characters and is overwritten by the next `Next`, so a
//   reader copies what it keeps.
#pragma once

#include <cstdint>

#include "foundation/token.h"

class ITokenReader {
public:
    virtual ~ITokenReader() = default;

    // The kind of the current token.
    virtual TToken Token() const = 0;
    // Reads the next token, makes it current and returns its kind.
    virtual TToken Next() = 0;
    // The text of the last name, text or number token (never null).
    virtual const char *Text() const = 0;
    // The value of the last number token.
    virtual double Number() const = 0;
    // The line on which the current token ends, counting from 1.
    virtual int32_t Line() const = 0;
};
