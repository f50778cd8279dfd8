// CTextConsultation: a knowledge base built and consulted without windows
// or terminal. Every question goes, as text, to the answerer handed to Run
// (consult/text_questions.h); status texts and messages are kept, not shown.
// The console's case streams and the embedding API run on it.
//
// It owns everything a consultation runs on (record of windows, table
// environment, registry, control, driver), so two of them share nothing and
// may run on two threads. It consults as often as asked, each time from the
// reset values.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "consult/quiet_view.h"
#include "consult/text_questions.h"
#include "language/diagnostic.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"

class CPInputChar;
class CInfTaxNet;
class IOptionStore;

// Where a knowledge base comes from and what it may write.
struct CTextSource {
    CPInputChar *text = nullptr;  // not owned; null builds as an unreadable source
    std::string directory;        // relative file names resolve here; "" is the current directory
    std::string name;             // the file name, for the reports
    CWrittenFiles files;
    IOptionStore *aliasStore = nullptr;  // where database aliases are defined; may be null; not
                                         // owned, and read until the consultation ends
};

class CTextConsultation : private ITextAnswerer {
public:
    // Builds the knowledge base; Built() tells whether it did.
    explicit CTextConsultation(const CTextSource &source);
    ~CTextConsultation() override;
    CTextConsultation(const CTextConsultation &) = delete;
    CTextConsultation &operator=(const CTextConsultation &) = delete;

    // The build
    bool Built() const { return built == 0; }
    // Every line the build wrote, in order.
    const std::vector<std::string> &BuildLines() const { return buildLines; }
    // What the build refused and where; none when it built.
    const std::optional<CDiagnostic> &Diagnostic() const { return driver->Control().Diagnostic(); }

    // Consulting
    // One consultation from reset values and from the goals in the order of
    // their declaration, so that its result depends on its answers alone
    // (not on an earlier consultation, whose values would order goals of
    // equal value); every question asked of `answerer`; the net's result (0
    // consulted ok). An exception thrown by the answerer aborts the
    // consultation and is thrown again from here once it has unwound.
    int32_t Run(ITextAnswerer &answerer);
    // True when the last consultation was aborted.
    bool Aborted() const { return driver->Control().AbortRequested(); }
    // The last status text of the last consultation.
    const std::string &LastStatus() const { return view.lastStatus; }
    // The error the last consultation reported, empty when none.
    std::string LastError() const { return driver->ShownError().Text(); }
    // The messages the last consultation showed, in order.
    const std::vector<std::string> &Messages() const { return messages.shown; }
    // True when `name` can be answered: a node, an asked parameter or a
    // taxonomy of the knowledge base.
    bool Answerable(const std::string &name) const;

    CInfTaxNet &Net() const { return *driver->Control().Net(); }
    CTable *Table() const { return driver->Control().Table(); }
    CParameters *Parameters() const { return driver->Control().Parameters(); }
    // Where its tables resolve files and aliases, and which shard of a
    // batch it consults.
    CTableEnvironment &Environment() { return environment; }

private:
    bool Answer(const CTextQuestion &question, std::string &line) override;

    CQuietView view;
    CQuietMessages messages;
    CTextQuestionWindows windows;
    CTableEnvironment environment;
    std::unique_ptr<CAllRetrieversWin> registry;
    std::unique_ptr<CConsultationDriver> driver;
    std::vector<std::string> buildLines;
    int32_t built = -1;
    ITextAnswerer *answerer = nullptr;  // of the running consultation
    std::exception_ptr failure;         // thrown by it
};
