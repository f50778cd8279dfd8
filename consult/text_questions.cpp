#include "consult/text_questions.h"

namespace {

// The answer without blanks around it.
std::string Trim(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string TextHelp(TQuestionKind kind) {
    std::string help = TextHelpLine(kind).Text();
    if (!help.empty() && help.back() == '\n') help.pop_back();
    return help;
}

void CTextParamWindow::Present(const CString &rejection) {
    CTextQuestion question = NodeQuestion(TQuestionKind::parameter);
    question.name = description.Text();
    std::string line;
    if (!Ask(question, rejection, line)) return;
    SetText(line.c_str());  // an empty line is the empty value
    Accept();
}

void CTextYesNoWindow::Present(const CString &rejection) {
    std::string line;
    if (!Ask(NodeQuestion(TQuestionKind::certainty), rejection, line)) return;
    if (IsBlankLine(line.c_str())) return Hide();  // factor 0
    PressCertainty(CertaintyFromText(line.c_str()));
}

void CTextIntervalWindow::Present(const CString &rejection) {
    std::string line;
    if (!Ask(NodeQuestion(TQuestionKind::interval), rejection, line)) return;
    CString certainty;
    SplitIntervalAnswer(line.c_str(), from, to, certainty);
    if (certainty.IsEmpty()) return Hide();  // factor 0: don't know
    PressCertainty(CertaintyFromText(certainty));
}

void CTextChoiceWindow::SetOptions(const CStringVector &list) {
    options.Reset();
    for (int32_t i = 0; i < list.Count(); ++i) options.Add(list.At(i));
}

void CTextChoiceWindow::Present(const CString &rejection) {
    CTextQuestion question = NodeQuestion(TQuestionKind::choice);
    question.text = std::string(TextPrompt(TQuestionKind::choice, description).Text()) +
                    ChoiceListing(options).Text() + TextHelpLine(TQuestionKind::choice).Text() + ">";
    for (int32_t i = 0; i < options.Count(); ++i) question.options.emplace_back(options.At(i).Text());
    std::string line;
    if (!Ask(question, rejection, line)) return;
    if (IsBlankLine(line.c_str())) return Hide();
    Select(ChoiceFromText(line.c_str(), options));
    Accept();
}

void CTextTaxonomyList::ShowAndWait(ITaxonomyListEvents &events) {
    hidden = false;
    const size_t count = rows.size();
    for (size_t row = 0; row < count && !hidden; ++row) events.ChooseClass(static_cast<int32_t>(row));
    if (!hidden) events.Ok();
}

CTaxonomyClassAnswer CTextTaxonomyClassDialog::ShowModal(const CTaxonomyTree &tree, const CString &rejection) {
    CTaxonomyClassAnswer answer;
    if (tree.empty()) return answer;
    const CString &taxonomy = tree.front().name;  // the root comes first
    CTextQuestion question;
    question.kind = TQuestionKind::taxonomy;
    question.name = taxonomy.Text();
    question.subject = taxonomy.Text();
    question.help = TextHelp(TQuestionKind::taxonomy);
    question.text = std::string(TaxonomyTreeListing(tree).Text()) + TextHelpLine(TQuestionKind::taxonomy).Text() +
                    TextPrompt(TQuestionKind::taxonomy, taxonomy).Text();
    for (const CTaxonomyTreeItem &item : tree) question.options.emplace_back(item.name.Text());
    question.rejection = rejection.Text();
    std::string line;
    if (!answerer.Answer(question, line)) return answer;  // nothing chosen
    answer.accepted = true;
    const std::string name = Trim(line);
    answer.none = name.empty();
    answer.className = name.c_str();
    return answer;
}

CTextQuestionWindows::CTextQuestionWindows(ITextAnswerer &answerer, const std::string &currentNode,
                                           IMessageBox &messages)
    : prob(answerer, currentNode), yesNo(answerer, currentNode), exactValue(answerer, currentNode),
      interval(answerer, currentNode), choice(answerer, currentNode), param(answerer, currentNode),
      taxonomyClass(answerer) {
    ui.probQuestion = &prob;
    ui.yesNoQuestion = &yesNo;
    ui.exactValue = &exactValue;
    ui.intervalQuestion = &interval;
    ui.choiceQuestion = &choice;
    ui.paramQuestion = &param;
    ui.taxonomyList = &taxonomyList;
    ui.taxonomyClass = &taxonomyClass;
    ui.messages = &messages;
}
