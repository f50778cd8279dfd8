// Terminal: the console's standard input and output.
//
// Lines are read straight from the input descriptor, so that Ctrl+C can end a
// wait: while a read waits, the interrupt handler only sets a flag, and the
// wait that the signal breaks off reports Interrupted instead of waiting on.
// At any other moment Ctrl+C ends the program, as usual, except while a batch
// runs (StopAfterCase): then the first Ctrl+C or SIGTERM only sets the flag
// and the batch stops after its case; a second one ends the program. Whatever must happen
// on an interrupt (aborting the consultation) is done by the reader's caller,
// never in the handler. A line longer than kMaxLine keeps its first kMaxLine
// bytes; the rest of it is read and dropped. A zero byte reads as "?".
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

enum class TReadResult { line, end, interrupted };

class Terminal {
public:
    static constexpr size_t kMaxLine = 64 * 1024;

    // Catches SIGINT from now on (see above).
    static void CatchInterrupts();
    // True once Ctrl+C was pressed.
    static bool Interrupted();
    // From now on the first Ctrl+C or SIGTERM outside a question only sets
    // the flag, for a batch that checks it after every case.
    static void StopAfterCase();

    // Writes to standard output, or to `output` (standard error when
    // standard output carries a file, say).
    explicit Terminal(std::FILE *output = stdout) : out(output) {}

    // Writes text as it is.
    void Print(const std::string &text);
    // Writes text and a line feed.
    void PrintLine(const std::string &text);
    // Reads one line without its line end (LF or CR LF). Output is flushed
    // first, so a prompt shows before the wait.
    TReadResult ReadLine(std::string &line);
    // True when standard input is a terminal (the user's typing shows).
    bool InputIsTerminal() const;
    // Whether the error stream goes to a terminal (progress is shown there).
    static bool ErrorsGoToTerminal();

private:
    // Fills the buffer; false at the end of input or on an interrupt.
    bool Fill(TReadResult &stop);

    std::FILE *out;
    std::string pending;  // read but not yet handed out
    bool atEnd = false;
};
