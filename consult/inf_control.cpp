#include "consult/inf_control.h"

#include <ctime>
#include <new>

#include "net/params.h"
#include "consult/protocol_html.h"
#include "consult/protocol_net_html.h"
#include "consult/protocol_txt.h"
#include "language/help_builder.h"
#include "language/inf_net_compiler.h"
#include "language/input.h"
#include "language/input_char.h"
#include "language/output.h"
#include "foundation/written_file_name.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"

namespace {

// The position at which the source stopped being read, where the editor puts
// its caret. Only a source over a text knows it.
uint32_t InputPosition(CPInput *input) {
    const auto *text = dynamic_cast<CPInputChar *>(input);
    return text == nullptr ? 0 : static_cast<uint32_t>(text->Pos());
}

// Appends one report when its parameter names a file; false when it could
// not be written, with the reason added to `faults`.
template <typename Writer>
bool WriteFileReport(CInfControl &control, const CReportRecord &report, CRunFaults &faults) {
    CParameters *parameters = control.Parameters();
    if (!parameters->HasParam(Writer::kParam)) return true;
    const CString value = parameters->GetParam(Writer::kParam);
    if (!IsWritableFileName(value.Text())) {
        faults.Add(std::string("Cannot write report ") + value.Text() + ": " + kOutsideFolderReason);
        return false;
    }
    Writer writer(control.SourceDirectory().Text(), value.Text());
    writer.Write(report);
    std::string failure;
    if (writer.Save(failure)) return true;
    faults.Add(failure);
    return false;
}

}  // namespace

CString CurrentTimeText() {
    // ctime_r writes English names whatever the locale, as reports expect.
    const std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (ctime_r(&now, text) == nullptr) return CString();
    return CString(text);
}

CInfControl::CInfControl(CAllRetrievers *registry)
    : output(nullptr), input(nullptr), registry(registry), net(nullptr), table(nullptr), parameters(nullptr),
      errorPosition(0), consistencyFailed(false), consultationFailed(false) {}

CInfControl::~CInfControl() {
    delete net;
    delete table;
    delete parameters;
}

int32_t CInfControl::CreateObjects() {
    delete parameters;
    parameters = new (std::nothrow) CParameters();
    delete net;
    net = new (std::nothrow) CInfTaxNet();
    if (net == nullptr || parameters == nullptr) return 2;
    delete table;
    table = new (std::nothrow) CTable();
    if (table == nullptr) return 2;
    table->context = &context;
    table->writeOutputs = writtenFiles.outputs;
    if (registry != nullptr && registry->CopyIntoTable(table) != 0) return 2;
    consultationFailed = false;
    return 0;
}

int32_t CInfControl::BuildNet(const ConfigureCompiler &configureCompiler) {
    diagnostic.reset();
    if (output == nullptr) return 2;
    const int32_t cleared = output->Open();
    if (cleared != 0) return cleared;
    const int32_t created = CreateObjects();
    if (created != 0) {
        Say("[Error] Cannot create new objects before compiling.");
        return created;
    }
    Say("Building inference net...");
    const int32_t readable = input == nullptr ? 2 : input->Open();
    if (readable != 0) {
        Say("[Error] Cannot read net source code.");
        return readable;
    }
    return CompileAndCheck(configureCompiler);
}

int32_t CInfControl::CompileAndCheck(const ConfigureCompiler &configureCompiler) {
    consistencyFailed = false;
    const int32_t compiled = Compile(configureCompiler);
    if (compiled != 0) {
        errorPosition = InputPosition(input);
        Say("Failed to compile.");
        return compiled;
    }
    Say("Compiled.");
    return CheckConsistency();
}

// The compiler and what it recorded for its messages are gone before the
// check, which runs at the peak of a build.
int32_t CInfControl::Compile(const ConfigureCompiler &configureCompiler) {
    CInfNetCompiler compiler(input, output);
    compiler.SetTargets(net, table, parameters);
    compiler.SetSourceDirectory(sourceDirectory);
    compiler.SetWritesHelpPages(writtenFiles.helpPages);
    if (configureCompiler) configureCompiler(compiler);
    const int32_t compiled = compiler.Compile();
    diagnostic = compiler.Diagnostic();
    return compiled;
}

int32_t CInfControl::CheckConsistency() {
    Say("Checking consistency...");
    const int32_t checked = net->Check();
    if (checked != 0) {
        diagnostic = CDiagnostic{{}, net->checkMessage.Text(), net->checkDetail};
        CString line("[Error] ");
        line.Append(net->checkMessage);
        line.Append(".");
        Say(line.Text());
        if (!net->checkDetail.empty()) Say(DetailLine(*diagnostic, 0).c_str());
        Say("Consistency check failed.");
        consistencyFailed = true;
        return checked;
    }
    Say("Consistency check passed.");
    Say("Done.");
    return 0;
}

void CInfControl::Say(const char *line) { output->WriteLine(line); }

int32_t CInfControl::WriteReports() {
    endTime = CurrentTimeText();
    if (net == nullptr || parameters == nullptr || !writtenFiles.reports) return 0;
    const CReportRecord report = ReportRecord();
    bool written = WriteFileReport<CProtocolTxt>(*this, report, context.faults);
    written = WriteFileReport<CProtocolHTML>(*this, report, context.faults) && written;
    if (parameters->HasParam(CProtocolNetHTML::kParam)) {
        CProtocolNetHTML netReport;
        netReport.Write(report);
        std::string failure;
        if (!netReport.Save(failure)) {
            context.faults.Add(failure);
            written = false;
        }
    }
    return written ? 0 : 2;
}

CReportRecord CInfControl::ReportRecord() const {
    return {net, consultationFailed, context.abortRequested, consultationName, startTime, endTime, HelpPageDirectory()};
}

CString CInfControl::HelpPageDirectory() const {
    if (parameters == nullptr) return sourceDirectory;
    return HelpDirectory(parameters->GetParam("helppath"), sourceDirectory);
}

void CInfControl::StartConsultationRecord() {
    startTime = CurrentTimeText();
    context.abortRequested = false;
    consultationFailed = false;
}
