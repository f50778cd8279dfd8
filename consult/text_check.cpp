#include "consult/text_check.h"

#include <algorithm>

#include "consult/inf_control.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "language/output.h"

namespace {

class LineList : public CPOutput {
public:
    explicit LineList(std::vector<std::string> &target) : lines(target) {}
    int Open() override { return 0; }
    void WriteLine(const char *text) override { lines.emplace_back(text); }

private:
    std::vector<std::string> &lines;
};

}  // namespace

CTextCheck CheckText(const std::string &text, CAllRetrievers *registry) {
    CTextCheck check;
    CPInputChar input(text.data(), static_cast<int32_t>(std::min<size_t>(text.size(), CPInputChar::kMaxLength)));
    LineList output(check.lines);
    CInfControl control(registry);
    control.SetInput(&input);
    control.SetOutput(&output);
    check.ok = control.BuildNet([](CInfNetCompiler &compiler) { compiler.SetWritesHelpPages(false); }) == 0;
    check.diagnostic = control.Diagnostic();
    return check;
}
