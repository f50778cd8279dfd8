// CInfControl: one built knowledge base - its inference net, run-time table
// and parameters - with the operations that build it and report on it.
//
// `BuildNet` replaces the three run-time objects with fresh ones, compiles
// the source into them and checks the net's consistency, writing one line per
// step to the message output. After a consultation (and at an abort)
// `WriteReports` appends the reports that the parameters ask for. The
// consultation itself is driven by CConsultationDriver, which sets the
// consultation's start time and flags through the setters below.
//
// Files that a knowledge base names by a relative path (report files, help
// pages) resolve against the knowledge base's own directory, set with
// `SetSourceDirectory`; without one they resolve against the current
// directory, as for a text that has no file yet.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "consult/report_record.h"
#include "foundation/cstring.h"
#include "language/diagnostic.h"
#include "net/consultation_context.h"

class CPInput;
class CPOutput;
class CAllRetrievers;
class CInfTaxNet;
class CTable;
class CParameters;
class CInfNetCompiler;

// The local time as the C library's `ctime` text: 24 characters and a line
// feed, for example "Mon Dec  8 19:02:11 2025\n".
CString CurrentTimeText();

// The files a knowledge base's build and consultations write: all of them
// for the console and the desktop; a program that embeds the core chooses.
struct CWrittenFiles {
    bool helpPages = true;  // the build's help pages
    bool reports = true;    // the text, HTML and net reports
    bool outputs = true;    // the output tables
};

class CInfControl {
public:
    using ConfigureCompiler = std::function<void(CInfNetCompiler &)>;

    // A control without a registry builds tables that know no retriever.
    explicit CInfControl(CAllRetrievers *registry = nullptr);
    // Deletes the net, then the table, then the parameters.
    ~CInfControl();
    CInfControl(const CInfControl &) = delete;
    CInfControl &operator=(const CInfControl &) = delete;

    // Set-up by the caller before a build; none of these is owned.
    void SetInput(CPInput *source) { input = source; }
    void SetOutput(CPOutput *sink) { output = sink; }
    void SetRegistry(CAllRetrievers *all) { registry = all; }
    CAllRetrievers *Registry() const { return registry; }
    // The knowledge base file's directory; "" is the current directory.
    void SetSourceDirectory(const CString &directory) { sourceDirectory = directory; }
    void SetConsultationName(const CString &name) { consultationName = name; }
    void SetWrittenFiles(const CWrittenFiles &files) { writtenFiles = files; }

    // Building
    // Fresh, empty parameters, net and table, the registry copied into the
    // table; 0, or 2 when an object cannot be made or the copy fails.
    int32_t CreateObjects();
    // Builds the net from `input`, reporting to `output`; 0 when built. The
    // hook, when given, may set the compiler's optional hooks before it runs.
    int32_t BuildNet(const ConfigureCompiler &configureCompiler = nullptr);

    // Reporting
    // Stamps the end time and appends every report the parameters ask for;
    // 0, or 2 when one could not be written (its reason is added to the
    // context's faults).
    int32_t WriteReports();
    // The directory of the knowledge base's help pages.
    CString HelpPageDirectory() const;
    // What the reports print of the consultation that has just ended.
    CReportRecord ReportRecord() const;

    // The consultation's state, set by the driver
    // Stamps the start time and clears both consultation flags.
    void StartConsultationRecord();
    void SetAbortRequested(bool value) { context.abortRequested = value; }
    void SetConsultationFailed(bool value) { consultationFailed = value; }

    // Accessors
    CInfTaxNet *Net() const { return net; }
    CTable *Table() const { return table; }
    CParameters *Parameters() const { return parameters; }
    const CString &ConsultationName() const { return consultationName; }
    const CString &StartTime() const { return startTime; }
    const CString &EndTime() const { return endTime; }
    const CString &SourceDirectory() const { return sourceDirectory; }
    uint32_t ErrorPosition() const { return errorPosition; }
    bool ConsistencyFailed() const { return consistencyFailed; }
    // What the last build refused, and where: the compiler's diagnostic, or
    // the consistency check's message without a place; none after a build
    // that passed or could not read its source.
    const std::optional<CDiagnostic> &Diagnostic() const { return diagnostic; }
    bool AbortRequested() const { return context.abortRequested; }
    // The error, abort flag and faults of the running consultation, shared
    // with the net and the run-time table.
    CConsultationContext &Context() { return context; }
    bool ConsultationFailed() const { return consultationFailed; }

private:
    // Compiles and checks; the steps after the input test.
    int32_t CompileAndCheck(const ConfigureCompiler &configureCompiler);
    // Compiles into the net, keeping the compiler's diagnostic.
    int32_t Compile(const ConfigureCompiler &configureCompiler);
    int32_t CheckConsistency();
    void Say(const char *line);

    CPOutput *output;
    CPInput *input;
    CAllRetrievers *registry;
    CString startTime;
    CString endTime;
    CInfTaxNet *net;
    CTable *table;
    CParameters *parameters;
    CString consultationName;
    uint32_t errorPosition;
    bool consistencyFailed;
    std::optional<CDiagnostic> diagnostic;
    bool consultationFailed;
    CString sourceDirectory;
    CWrittenFiles writtenFiles;
    CConsultationContext context;
};
