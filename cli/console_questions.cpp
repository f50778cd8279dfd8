#include "console_questions.h"

namespace {

// The answer without blanks around it.
std::string Trim(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void ConsoleParamWindow::Present(const CString &rejection) {
    std::string line;
    if (!Ask(rejection, Question(TQuestionKind::parameter), description.Text(), line)) return;
    SetText(line.c_str());  // an empty line is the empty value
    Accept();
}

void ConsoleYesNoWindow::Present(const CString &rejection) {
    std::string line;
    if (!Ask(rejection, Question(TQuestionKind::certainty), session.currentNode, line)) return;
    if (IsBlankLine(line.c_str())) return Hide();  // factor 0
    PressCertainty(CertaintyFromText(line.c_str()));
}

void ConsoleIntervalWindow::Present(const CString &rejection) {
    std::string line;
    if (!Ask(rejection, Question(TQuestionKind::interval), session.currentNode, line)) return;
    CString certainty;
    SplitIntervalAnswer(line.c_str(), from, to, certainty);
    if (certainty.IsEmpty()) return Hide();  // factor 0: don't know
    PressCertainty(CertaintyFromText(certainty));
}

void ConsoleChoiceWindow::SetOptions(const CStringVector &list) {
    options.Reset();
    for (int32_t i = 0; i < list.Count(); ++i) options.Add(list.At(i));
}

void ConsoleChoiceWindow::Present(const CString &rejection) {
    const std::string question = std::string(TextPrompt(TQuestionKind::choice, description).Text()) +
                                 ChoiceListing(options).Text() + TextHelpLine(TQuestionKind::choice).Text() + ">";
    std::string line;
    if (!Ask(rejection, question, session.currentNode, line)) return;
    if (IsBlankLine(line.c_str())) return Hide();
    Select(ChoiceFromText(line.c_str(), options));
    Accept();
}

void ConsoleTaxonomyList::ShowAndWait(ITaxonomyListEvents &events) {
    hidden = false;
    const size_t count = rows.size();
    for (size_t row = 0; row < count && !hidden; ++row) events.ChooseClass(static_cast<int32_t>(row));
    if (!hidden) events.Ok();
}

CTaxonomyClassAnswer ConsoleTaxonomyClassDialog::ShowModal(const CTaxonomyTree &tree, const CString &rejection) {
    CTaxonomyClassAnswer answer;
    if (tree.empty()) return answer;
    const CString &taxonomy = tree.front().name;  // the root comes first
    session.PrintRejection(rejection.Text());
    const std::string question = std::string(TaxonomyTreeListing(tree).Text()) +
                                 TextHelpLine(TQuestionKind::taxonomy).Text() +
                                 TextPrompt(TQuestionKind::taxonomy, taxonomy).Text();
    std::string line;
    if (!session.Ask(question, taxonomy.Text(), !rejection.IsEmpty(), line)) return answer;  // nothing chosen
    answer.accepted = true;
    const std::string name = Trim(line);
    answer.none = name.empty();
    answer.className = name.c_str();
    return answer;
}
