#include "language/lexer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/number_text.h"

namespace {

constexpr int kEndOfSource = -1;

struct Keyword {
    std::string_view word;
    TToken token;
};

constexpr Keyword kKeywords[] = {
    {"net", tokNet},
    {"rules", tokRules},
    {"nodes", tokNodes},
    {"links", tokLinks},
    {"taxonomies", tokTaxonomies},
    {"retriever", tokRetriever},
    {"translator", tokTranslator},
    {"output", tokOutput},
    {"logical", tokLogical},
    {"goal", tokGoal},
    {"bayesian", tokBayesian},
    {"and", tokAnd},
    {"not", tokNot},
    {"or", tokOr},
    {"template", tokTemplate},
    {"hypothesis", tokHypothesis},
    {"hidden_yes", tokHiddenYes},
    {"hiddenyes", tokHiddenYes},
    {"hidden_no", tokHiddenNo},
    {"hiddenno", tokHiddenNo},
    {"hidden_both", tokHiddenBoth},
    {"hiddenboth", tokHiddenBoth},
    {"description", tokDescription},
    {"askparam", tokAskParam},
    {"setparam", tokSetParam},
    {"defretr", tokDefRetr},
};

constexpr size_t LongestKeyword() {
    size_t longest = 0;
    for (const Keyword &keyword : kKeywords) longest = std::max(longest, keyword.word.size());
    return longest;
}

// Keywords are lower case and match whole words only. Most words of a large
// knowledge base are names longer than any keyword, and they are told apart
// by their length alone.
TToken LookUpWord(std::string_view word) {
    if (word.size() > LongestKeyword()) return tokName;
    for (const Keyword &keyword : kKeywords)
        if (keyword.word[0] == word[0] && keyword.word == word) return keyword.token;
    return tokName;
}

// Codes 0..32 separate tokens. Bytes 0x80-0xFE read as -128..-2 and belong to
// names; -1 is the end of the source.
bool IsBlank(int c) { return c >= 0 && c <= ' '; }

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

bool IsNumberChar(int c) { return IsDigit(c) || c == '.' || c == 'e' || c == 'E'; }

// Whether each byte may stand in a bare name, by its unsigned value: not the
// blanks, not the end marker 0xFF, not the punctuation.
constexpr std::array<bool, 256> kWordBytes = [] {
    std::array<bool, 256> word{};
    for (int byte = ' ' + 1; byte < 0xFF; ++byte) word[static_cast<size_t>(byte)] = true;
    for (unsigned char punctuation : {'(', ')', ',', '/', '{', '}'}) word[punctuation] = false;
    return word;
}();

bool IsWordChar(int c) { return kWordBytes[static_cast<unsigned char>(c)]; }

// A double-quoted name may hold anything but control characters and the end.
bool IsQuotedNameChar(int c) { return c != kEndOfSource && !(c >= 0 && c < ' '); }

// A plain decimal: digits with at most one point and at most 15 digits,
// none before or after the point being needed. Its digits make an integer
// that a double holds exactly, and dividing it by an exact power of ten
// rounds once, correctly: the value the full reading gives, for less work.
std::optional<double> PlainDecimal(std::string_view digits) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    int64_t mantissa = 0;
    int count = 0;
    int afterPoint = -1;  // digits after the point; -1 before a point
    for (char c : digits) {
        if (c == '.') {
            if (afterPoint >= 0) return std::nullopt;
            afterPoint = 0;
            continue;
        }
        if (!IsDigit(c) || ++count > 15) return std::nullopt;
        mantissa = mantissa * 10 + (c - '0');
        if (afterPoint >= 0) ++afterPoint;
    }
    if (count == 0) return std::nullopt;
    return static_cast<double>(mantissa) / kPowers[afterPoint > 0 ? afterPoint : 0];
}

// Text with no valid prefix (a lone point) leaves the last number alone.
double ConvertNumber(std::string_view digits, double previous) {
    if (const std::optional<double> plain = PlainDecimal(digits)) return *plain;
    return ReadReal(digits, kSourceNumber).value_or(previous);
}

// Collects characters into a buffer of `size` bytes: the first size - 1 are
// kept, the rest are counted and dropped.
class BoundedText {
public:
    BoundedText(char *buffer, int32_t size) : buffer(buffer), capacity(size - 1) { Reset(); }

    void Add(int c) {
        ++seen;
        if (kept < capacity) buffer[kept++] = static_cast<char>(c);
        buffer[kept] = '\0';
    }
    void AddRun(const char *run, size_t length) {
        seen += static_cast<int32_t>(length);
        const size_t room = static_cast<size_t>(capacity - kept);
        const size_t taken = length < room ? length : room;
        // An empty run may come without any characters behind it (null).
        if (taken > 0) std::memcpy(buffer + kept, run, taken);
        kept += static_cast<int32_t>(taken);
        buffer[kept] = '\0';
    }
    void Reset() {
        kept = 0;
        seen = 0;
        buffer[0] = '\0';
    }
    int32_t Seen() const { return seen; }
    int32_t Kept() const { return kept; }
    bool Truncated() const { return seen > kept; }
    // Removes the last character when it is a control character (a CR).
    void TrimControlChar() {
        if (Truncated() || kept == 0) return;
        unsigned char last = static_cast<unsigned char>(buffer[kept - 1]);
        if (last < ' ') buffer[--kept] = '\0';
    }

private:
    char *buffer;
    int32_t capacity;
    int32_t kept;
    int32_t seen;
};

}  // namespace

std::vector<std::string> CLexicalAnalyzer::Keywords() {
    std::vector<std::string> words;
    for (const Keyword &keyword : kKeywords) words.emplace_back(keyword.word);
    return words;
}

CLexicalAnalyzer::CLexicalAnalyzer(CPInput *source)
    : input(source), memory(dynamic_cast<CPInputChar *>(source)), token(tokEnd), number(0.0), text{}, line(1), offset(0), lineStart(0), tokenLine(1),
      tokenStart(0), tokenEnd(0), tokenLineStart(0) {
    SkipByteOrderMark();
    Next();
}

void CLexicalAnalyzer::SkipByteOrderMark() {
    if (!input || input->AtEnd()) return;
    static const int kMark[] = {static_cast<signed char>(0xEF), static_cast<signed char>(0xBB),
                                static_cast<signed char>(0xBF)};
    int matched = 0;
    while (matched < 3 && Get() == kMark[matched]) ++matched;
    if (matched == 3) {
        lineStart = offset;  // the mark is not a character of the first line
        return;
    }
    // Not a mark: step back over everything read, the mismatch included.
    for (int i = 0; i <= matched; ++i) Unget(0);
}

TToken CLexicalAnalyzer::Next() {
    token = Scan();
    tokenEnd = offset;
    // A token that ends on a later line (a text) is marked on its first line only.
    if (lineStart != tokenLineStart) tokenEnd = tokenStart + 1;
    return token;
}

int CLexicalAnalyzer::Get() {
    ++offset;
    return memory != nullptr ? memory->GetChar() : input->GetChar();
}

void CLexicalAnalyzer::Unget(int c) {
    if (offset > 0) --offset;
    if (memory != nullptr)
        memory->UngetChar(c);
    else
        input->UngetChar(c);
}

void CLexicalAnalyzer::NewLine() {
    ++line;
    lineStart = offset;
}

void CLexicalAnalyzer::MarkTokenStart() {
    tokenStart = offset > 0 ? offset - 1 : 0;
    tokenLine = line;
    tokenLineStart = lineStart;
}

TToken CLexicalAnalyzer::Scan() {
    tokenLine = line;
    tokenStart = offset;
    tokenLineStart = lineStart;
    if (!input || input->AtEnd()) return tokEnd;
    int c = 0;
    TToken stop = tokEnd;
    const bool found = SkipToToken(c, stop);
    if (!found) {
        // The end of the source is where the scan stopped; a piece that
        // cannot be read was marked where it starts.
        if (stop == tokEnd) {
            MarkTokenStart();
            tokenStart = offset;
        }
        return stop;
    }
    MarkTokenStart();
    switch (c) {
        case '(': return tokLeftParen;
        case ')': return tokRightParen;
        case ',': return tokComma;
        case '{': return tokLeftBrace;
        case '}': return tokRightBrace;
        case '"': return ReadQuotedName();
        case '\'': return ReadText();
        default: break;
    }
    if (IsDigit(c) || c == '.') return ReadNumber(c);
    return ReadWord(c);
}

// Every path that meets the end of the source steps back over the end
// marker, so that a 0xFF byte in mid-text stays the end for every later read.
bool CLexicalAnalyzer::SkipToToken(int &c, TToken &stop) {
    for (;;) {
        c = Get();
        if (c == kEndOfSource) {
            Unget(c);
            stop = tokEnd;
            return false;
        }
        if (IsBlank(c)) {
            if (c == '\n') NewLine();
            continue;
        }
        if (c != '/') return true;
        MarkTokenStart();  // an unclosed comment or a stray "/" is shown here
        int next = Get();
        if (next == '/') {
            if (SkipLineComment()) continue;
            stop = tokEnd;
            return false;
        }
        if (next == '*') {
            if (SkipBlockComment()) continue;
            stop = tokError;
            return false;
        }
        Unget(next);
        stop = tokError;
        return false;
    }
}

bool CLexicalAnalyzer::SkipLineComment() {
    for (;;) {
        int c = Get();
        if (c == kEndOfSource) {
            Unget(c);
            return false;
        }
        if (c == '\n') {
            NewLine();
            return true;
        }
    }
}

bool CLexicalAnalyzer::SkipBlockComment() {
    int previous = 0;
    for (;;) {
        int c = Get();
        if (c == kEndOfSource) {
            Unget(c);
            return false;
        }
        if (c == '\n') NewLine();
        if (previous == '*' && c == '/') return true;
        previous = c;
    }
}

// The whole run of number characters is converted, even where the text
// keeps only its first 255.
TToken CLexicalAnalyzer::ReadNumber(int first) {
    BoundedText collected(text, sizeof text);
    std::string longDigits;  // the whole run, kept only once it outgrows the text
    int c = first;
    while (IsNumberChar(c)) {
        collected.Add(c);
        if (collected.Truncated()) {
            if (longDigits.empty()) longDigits = text;
            longDigits.push_back(static_cast<char>(c));
        }
        c = Get();
    }
    Unget(c);
    number = ConvertNumber(longDigits.empty() ? std::string_view(text) : std::string_view(longDigits), number);
    return tokNumber;
}

TToken CLexicalAnalyzer::ReadQuotedName() {
    BoundedText collected(text, sizeof text);
    for (;;) {
        int c = Get();
        if (c == '"') return tokName;
        if (!IsQuotedNameChar(c)) {
            // Left for the next scan, so a line end still counts its line.
            Unget(c);
            return tokError;
        }
        collected.Add(c);
    }
}

TToken CLexicalAnalyzer::ReadText() {
    BoundedText collected(text, sizeof text);
    for (;;) {
        int c = ReadLineChar();
        if (c == kEndOfSource) {
            Unget(c);
            return tokError;
        }
        if (c == '\'') return tokText;
        if (c == '\n') NewLine();
        collected.Add(c);
    }
}

TToken CLexicalAnalyzer::ReadWord(int first) {
    BoundedText collected(text, sizeof text);
    int c = first;
    while (IsWordChar(c)) {
        collected.Add(c);
        // A text in memory gives the rest of the word as one run.
        if (memory != nullptr) {
            const std::string_view unread = memory->Unread();
            size_t run = 0;
            while (run < unread.size() && IsWordChar(unread[run])) ++run;
            collected.AddRun(unread.data(), run);
            memory->Skip(static_cast<int32_t>(run));
            offset += static_cast<int64_t>(run);
        }
        c = Get();
    }
    Unget(c);
    return LookUpWord(std::string_view(text, static_cast<size_t>(collected.Kept())));
}

// Reads a character, taking a CR directly before an LF as part of that line
// end, so that text written with CR LF line ends reads as with LF alone.
int CLexicalAnalyzer::ReadLineChar() {
    int c = Get();
    if (c != '\r') return c;
    int next = Get();
    if (next == '\n') return next;
    Unget(next);
    return c;
}

void CLexicalAnalyzer::CopyRawLines(char delimiter, CPOutput *sink, int32_t size) {
    if (!input) return;
    std::vector<char> buffer(static_cast<size_t>(size > 1 ? size : 1));
    BoundedText lineText(buffer.data(), static_cast<int32_t>(buffer.size()));
    const int stop = static_cast<signed char>(delimiter);
    auto writeLine = [&] {
        if (lineText.Seen() == 0) return;
        lineText.TrimControlChar();
        if (sink) sink->WriteLine(buffer.data());
        lineText.Reset();
    };
    for (;;) {
        int c = ReadLineChar();
        if (c == 0 || c == kEndOfSource || c == stop) {
            writeLine();
            Unget(c);
            return;
        }
        if (c == '\n') {
            NewLine();
            writeLine();
            continue;
        }
        lineText.Add(c);
    }
}
