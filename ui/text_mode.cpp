#include "ui/text_mode.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace {

struct Wording {
    const char *prompt;
    const char *help;
};

Wording WordingOf(TQuestionKind kind) {
    switch (kind) {
    case TQuestionKind::probability:
        return {"Enter a probability for the node \"%s\".\n>",
                "Probability is a real number from interval <0,1>.\n  Press [Enter] if you dont know.\n"};
    case TQuestionKind::certainty:
        return {"Enter a certainty factor for the node \"%s\".\n>",
                "Certainity factor is integer from -5 (surely no) to 5 (surely yes),\n"
                "  0 means dont know. You can also enter \"y\" for yes or \"n\" for no.\n"
                "  Press [Enter] if you dont know.\n"};
    case TQuestionKind::exactValue:
        return {"Enter exact numerical value for the node \"%s\".\n>",
                "Numerical value as a real number is expected.\n  Press [Enter] if you dont know.\n"};
    case TQuestionKind::choice:
        return {"Enter choice for node \"%s\".\n",
                "Number of choice is expected (for example \"1\" for the first choice).\n"
                "  Press [Enter] if you dont know.\n"};
    case TQuestionKind::interval:
        return {"Enter an interval with a certainty factor for the node \"%s\".\n>",
                "An interval is two real numbers From and To, then a certainty factor\n"
                "  from -5 (surely not in it) to 5 (surely in it), for example \"2 5 3\".\n"
                "  Without a certainty factor it is 0 (dont know), but an interval is needed.\n"};
    case TQuestionKind::parameter:
        return {"Enter the value of the parameter \"%s\".\n>",
                "Any text is expected. Press [Enter] for an empty value.\n"};
    case TQuestionKind::taxonomy:
        return {"Select a class of the taxonomy \"%s\".\n>",
                "The name of one of the classes above is expected.\n  Press [Enter] to select none.\n"};
    }
    return {"", ""};
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A whole number of at most nine digits with an optional sign; false for
// anything else.
bool WholeNumber(std::string_view text, int32_t &number) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9) return false;
    int32_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + (c - '0');
    }
    number = negative ? -value : value;
    return true;
}

bool IsSeparator(char c) { return IsBlank(c) || c == ';'; }

void SkipSeparators(std::string_view &rest) {
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
}

// The next word of `rest` up to a blank, tab or ";", which it removes.
std::string_view NextWord(std::string_view &rest) {
    SkipSeparators(rest);
    size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

CString ToCString(std::string_view text) { return CString(std::string(text).c_str()); }

}  // namespace

CString TextPrompt(TQuestionKind kind, const CString &subject) {
    std::string prompt = WordingOf(kind).prompt;
    const size_t mark = prompt.find("%s");
    if (mark != std::string::npos) prompt.replace(mark, 2, subject.Text());
    return CString(prompt.c_str());
}

CString TextHelpLine(TQuestionKind kind) { return CString(WordingOf(kind).help); }

CString ChoiceListing(const CStringVector &options) {
    CString listing;
    for (int32_t i = 0; i < options.Count(); ++i) {
        listing.Append("  ");
        listing.Append(i + 1);
        listing.Append(". ");
        listing.Append(options.At(i));
        listing.Append("\n");
    }
    return listing;
}

CString TaxonomyTreeListing(const CTaxonomyTree &tree) {
    std::string listing;
    for (const CTaxonomyTreeItem &item : tree) {
        listing.append(2 * static_cast<size_t>(item.depth) + 2, ' ');
        listing.append(item.name.Text());
        listing.push_back('\n');
    }
    return CString(listing.c_str());
}

bool IsBlankLine(const CString &line) { return Trimmed(line.Text()).empty(); }

float CertaintyFromText(const CString &line) {
    const std::string_view text = Trimmed(line.Text());
    if (SameIgnoringCase(text, "y") || SameIgnoringCase(text, "yes")) return 5.0f;
    if (SameIgnoringCase(text, "n") || SameIgnoringCase(text, "no")) return -5.0f;
    int32_t number = 0;
    if (WholeNumber(text, number)) return static_cast<float>(number);
    return std::numeric_limits<float>::quiet_NaN();
}

int32_t ChoiceFromText(const CString &line, const CStringVector &options) {
    const std::string_view text = Trimmed(line.Text());
    int32_t number = 0;
    if (!text.empty() && text.front() != '-' && text.front() != '+' && WholeNumber(text, number))
        return number - 1;
    for (int32_t i = 0; i < options.Count(); ++i)
        if (!text.empty() && SameIgnoringCase(text, Trimmed(options.At(i).Text()))) return i;
    return -1;
}

void SplitIntervalAnswer(const CString &line, CString &from, CString &to, CString &certainty) {
    std::string_view rest = line.Text();
    from = ToCString(NextWord(rest));
    to = ToCString(NextWord(rest));
    SkipSeparators(rest);
    certainty = ToCString(Trimmed(rest));
}
