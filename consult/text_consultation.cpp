#include "consult/text_consultation.h"

#include "language/input_char.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "net/params.h"
#include "retrieval/table.h"

namespace {

// Keeps every line of the build.
class LineCollector : public CPOutput {
public:
    explicit LineCollector(std::vector<std::string> &lines) : lines(lines) {}
    int Open() override {
        lines.clear();
        return 0;
    }
    void WriteLine(const char *text) override { lines.emplace_back(text); }

private:
    std::vector<std::string> &lines;
};

}  // namespace

CTextConsultation::CTextConsultation(const CTextSource &source)
    : windows(*this, view.investigatedNode, messages) {
    environment.aliasStore = source.aliasStore;
    registry = std::make_unique<CAllRetrieversWin>(windows.Record(), environment);
    auto control = std::make_unique<CInfControl>(registry.get());
    // A source that cannot be opened builds as the console's unreadable file.
    CPInputChar unreadable(nullptr);
    LineCollector output(buildLines);
    control->SetInput(source.text != nullptr ? source.text : &unreadable);
    control->SetOutput(&output);
    control->SetSourceDirectory(source.directory.c_str());
    control->SetConsultationName(source.name.c_str());
    control->SetWrittenFiles(source.files);
    built = control->BuildNet();
    control->SetInput(nullptr);
    control->SetOutput(nullptr);
    driver = std::make_unique<CConsultationDriver>(std::move(control), &view, &messages);
}

CTextConsultation::~CTextConsultation() = default;

int32_t CTextConsultation::Run(ITextAnswerer &given) {
    messages.shown.clear();
    answerer = &given;
    failure = nullptr;
    // The consultation sorts the goals once before it resets the values:
    // reset them first, so that the last consultation's values decide no
    // order.
    if (CInfTaxNet *net = driver->Control().Net(); net != nullptr && Built()) {
        net->ResetValues(Table());
        net->RestoreGoalOrder();
    }
    const int32_t result = driver->RunConsultation();
    answerer = nullptr;
    if (failure) std::rethrow_exception(std::exchange(failure, nullptr));
    return result;
}

bool CTextConsultation::Answer(const CTextQuestion &question, std::string &line) {
    bool answered = false;
    try {
        answered = answerer != nullptr && answerer->Answer(question, line);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!answered) driver->AbortConsultation();
    return answered;
}

bool CTextConsultation::Answerable(const std::string &name) const {
    if (!Built()) return false;
    const CString key(name.c_str());
    CInfTaxNet &net = Net();
    if (net.FindNode(key) != nullptr || net.rootIndex.Find(key) != nullptr) return true;
    const CParamAskArray &asks = driver->Control().Parameters()->Asks();
    for (int32_t i = 0; i < asks.Count(); ++i)
        if (asks.At(i)->name.Equals(key)) return true;
    return false;
}
