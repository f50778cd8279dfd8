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
// operations, and stops at the first error: one line "[Error at line N]
// message" goes to the output and `Compile` returns 2. What was created
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

#include "foundation/cstring.h"
#include "language/compiler.h"

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

    int Compile() override;
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
    bool ReadArrow(CString &source, CString &target, float &first, float &second);
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
    void ReportError(const CString &message);

    TToken token;            // the current token, kept in step with the lexer
    CInfTaxNet *net;         // not owned
    CTable *table;           // not owned
    CParameters *parameters; // not owned
    CString sourceDirectory;
};
