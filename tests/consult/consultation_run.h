// A consultation as the program runs one, for the tests of the driver: a
// knowledge-base text built in a temporary directory with its own scripted
// windows, table environment and registry, and a driver over it. Nothing is
// shared with another Consultation, so two may run one after the other or at
// once on two threads.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "consult_helpers.h"
#include "fake_ui.h"
#include "language/input_char.h"
#include "net/inf_tax_net.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"

struct Consultation {
    using MakeRegistry = std::function<std::unique_ptr<CAllRetrieversWin>(const CUserInterface &, CTableEnvironment &)>;

    // The registry is the program's, over the fake windows, unless the test
    // makes its own.
    explicit Consultation(const std::string &text, const MakeRegistry &makeRegistry = nullptr) {
        registry = makeRegistry ? makeRegistry(ui.ui, environment)
                                : std::make_unique<CAllRetrieversWin>(ui.ui, environment);
        auto control = std::make_unique<CInfControl>(registry.get());
        CPInputChar input(text.c_str());
        RecordingOutput output;
        control->SetInput(&input);
        control->SetOutput(&output);
        control->SetSourceDirectory(dir.path.c_str());
        control->SetConsultationName("kb.qvb");
        built = control->BuildNet();
        buildLines = output.lines;
        control->SetInput(nullptr);
        control->SetOutput(nullptr);
        driver = std::make_unique<CConsultationDriver>(std::move(control), &ui.view, &ui.messages);
        ui.script.abort = [this] { driver->AbortConsultation(); };
    }

    void Answer(std::initializer_list<::Answer> answers) { ui.script.answers.assign(answers); }
    CInfTaxNet &Net() { return *driver->Control().Net(); }
    std::string Report() { return ReadText(dir.File("r.txt")); }

    TempDir dir;
    FakeUi ui;
    CTableEnvironment environment;
    std::unique_ptr<CAllRetrieversWin> registry;
    std::unique_ptr<CConsultationDriver> driver;
    int32_t built = -1;
    std::vector<std::string> buildLines;
};
