#include "bench_consultation.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "consult/inf_control.h"
#include "language/input_char.h"
#include "language/output.h"

namespace quorvin::bench {

namespace {

class NoOutput : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *) override {}
};

}  // namespace

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary directory");
    path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void ScratchDirectory::Write(const std::string &name, const std::string &text) const {
    std::ofstream out(path / name, std::ios::binary);
    out << text;
}

BenchConsultation::BenchConsultation(const ScratchDirectory &directory, const std::string &text)
    : registry(std::make_unique<CAllRetrieversWin>(ui, environment)) {
    ui.messages = &messages;
    auto control = std::make_unique<CInfControl>(registry.get());
    CPInputChar input(text.data(), static_cast<int32_t>(text.size()));
    NoOutput output;
    control->SetInput(&input);
    control->SetOutput(&output);
    control->SetSourceDirectory(directory.Path().string().c_str());
    control->SetConsultationName("kb.qvb");
    built = control->BuildNet();
    control->SetInput(nullptr);
    control->SetOutput(nullptr);
    driver = std::make_unique<CConsultationDriver>(std::move(control), &view, &messages);
}

}  // namespace quorvin::bench
