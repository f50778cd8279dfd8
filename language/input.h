// CPInput: the character source the knowledge-base compiler reads.
//
// The compiler and the lexer never touch an editor control or a file; they
// read characters one at a time from a CPInput and may step back. -1 marks
// the end of the source.
#pragma once

class CPInput {
public:
    virtual ~CPInput() = default;

    // Prepares the source: 0 when it can be read, 2 otherwise.
    virtual int Open() = 0;
    // The next character, or -1 at the end.
    virtual int GetChar() = 0;
    // True once a read has gone past the end.
    virtual bool AtEnd() = 0;
    // Steps back one character, so that the next GetChar reads it again.
    virtual int UngetChar(int c) = 0;
};
