// CInfNetCompiler: compiles a knowledge base into an inference net with its
// taxonomies, a run-time table and a set of parameters, and writes its help
// pages.
//
// The language, read in one pass from top to bottom:
//
//   knowledge base  [net block] { section }
//   net block       net { { setparam ( Name [,] [Name] ) | askparam ( Name )
//                           | defretr ( Name [,] Name ) } }
//   section         nodes { { node } } | rules { { arrow } } | links { { arrow } }
//                   | taxonomies { { Name type body } } | description { { Name { raw } } }
//   node            Name { [Text] ( bayesian , Number [, goal]
//                                   | logical , and|or|not [, goal] )
//                          [retriever ( Name [params] [,] ... ) [translator ( params )]] }
//   arrow           { Name [,] Name [ , Number [,] Number ] }
//   body            [ ( Name [,] ... ) ] [ { { Name body } } ]
//
// A node must be declared before a rule, link or taxonomy names it. The
// compiler fills its three targets only through their add, attach and set
// operations, and stops at the first error: the line "[Error at line N]
// message" goes to the output, followed by the line of its cause and place
// (language/diagnostic.h), and `Compile` returns 2. What was created
// before the error stays; the caller discards the partly filled objects.
//
// Help pages are written into the help directory (see help_builder.h): the
// parameter "helppath" when it is absolute, otherwise the knowledge base's
// directory, which the caller gives with `SetSourceDirectory` (the current
// directory when it is not given, as for a text that has no file yet).
// "helppath" is set to "temphtml" before the knowledge base's own statements
// when the caller has not set it, so a `setparam` of it has no effect.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/cstring.h"
#include "language/compiler.h"
#include "language/compiler_exception.h"
#include "language/diagnostic.h"

class CHelpBuilder;
class CInfTaxNet;
class CTable;
class CParameters;

class CInfNetCompiler : public CCompiler {
public:
    using Hook = std::function<void(CInfNetCompiler &)>;
    using HelpDirectoryHook = std::function<void(CInfNetCompiler &, const CString &helpPath)>;

    CInfNetCompiler(CPInput *input, CPOutput *output);

    // The objects to fill; none is owned. All three must be set before Compile.
    void SetTargets(CInfTaxNet *targetNet, CTable *targetTable, CParameters *targetParameters);
    // The directory of the knowledge-base file; "" (the default) is the
    // current directory.
    void SetSourceDirectory(const CString &directory) { sourceDirectory = directory; }
    const CString &SourceDirectory() const { return sourceDirectory; }
    // False for a check of the text alone (an editor's diagnostics) and for
    // a program that embeds the core and did not ask for pages: help pages
    // are then read past and never written, though a page name that could
    // leave the help directory is still refused, as a build would.
    void SetWritesHelpPages(bool value) { writesHelpPages = value; }

    int Compile() override;
    // The cause and place of the error the last Compile reported; none when
    // it compiled.
    const std::optional<CDiagnostic> &Diagnostic() const { return diagnostic; }
    TToken Next() override;

    // Optional hooks, unset unless a caller sets them: before compiling; with
    // the value of "helppath" once it is settled; after compiling (also after
    // an error).
    Hook beforeCompile;
    HelpDirectoryHook onHelpDirectory;
    Hook afterCompile;

private:
    // The parts of the language
    void CompileSource();
    void ReadNetBlock();
    void ReadSetParam();
    void ReadAskParam();
    void ReadDefRetr();
    void ReadSection();
    void ReadNodes();
    void ReadNode();
    struct NodeType {
        bool logical = false;
        uint8_t logicalType = 0;  // and 0, or 1, not 2
        float prior = 0.0f;
        bool goal = false;
    };
    NodeType ReadNodeType();
    void ReadRetrieverClause(const CString &node);
    void ReadRetrieverList(const CString &node);
    void ReadTranslatorClause(const CString &node);
    void ReadRules();
    void ReadLinks();
    // One rule or link as written: its names and numbers, and where each stands.
    struct Arrow {
        CString source;
        CString target;
        float first = 0.0f;
        float second = 0.0f;
        CSourcePlace sourcePlace;
        CSourcePlace targetPlace;
        CSourcePlace firstPlace;
        CSourcePlace secondPlace;
    };
    bool ReadArrow(Arrow &arrow);
    void ReadTaxonomies();
    void ReadTaxonomy();
    void ReadClassTree(const CString &root);
    bool ReadClassBody(const CString &cls);
    void ReadMembers(const CString &cls);
    void ReadDescriptions();
    void ReadHelpPage(const CHelpBuilder &builder);

    // Small steps
    void Expect(TToken kind, const char *message);
    void ExpectAndSkip(TToken kind, const char *message);
    void SkipComma();
    CString ExpectName(const char *message);
    float ExpectNumber(const char *message);
    void OpenBlock();
    void ReportError(const CCompilerException &error);

    // Why the net refused an addition, raised with its cause and place.
    [[noreturn]] void RefuseNode(const CString &name, const CSourcePlace &namePlace, const NodeType &type,
                                 const CSourcePlace &priorPlace);
    [[noreturn]] void RefuseArrow(const char *message, const Arrow &arrow, const char *kind);
    [[noreturn]] void RefuseRetriever(const CString &node, const CString &retriever, const CSourcePlace &place);
    [[noreturn]] void RefuseClass(const char *message, const CString &name, const CSourcePlace &place);
    CSourcePlace PriorPlace(const CSourcePlace &typePlace) const;
    // The lines of the nodes, rules or links this compilation added, in the
    // order of the net's own array from the count it found there.
    struct AddedLines {
        int32_t first = 0;  // items the net held before
        std::vector<int32_t> lines;
    };
    // The line where this compilation added the first item of `items` that
    // `matches`, or 0.
    template <typename Items, typename Item>
    static int32_t AddedLine(const AddedLines &added, const Items &items, const Item &matches);
    static bool IsZeroToOne(float value);
    static const char *FirstName(const char *kind);
    static const char *SecondName(const char *kind);

    TToken token;            // the current token, kept in step with the lexer
    CInfTaxNet *net;         // not owned
    CTable *table;           // not owned
    CParameters *parameters; // not owned
    CString sourceDirectory;
    bool writesHelpPages = true;

    // What the diagnostics need to say where a duplicate came first: four
    // bytes a node, rule or link, as a large net cannot afford a keyed entry
    // for each.
    AddedLines nodeLines;
    AddedLines ruleLines;
    AddedLines linkLines;
    std::unordered_map<std::string, int32_t> classLines;  // class name -> line
    CSourcePlace priorPlace;     // of the last prior read
    std::optional<CDiagnostic> diagnostic;
};
