// The compiler with the program's own registry of retrievers and translators:
// their parameter readers read their clauses through the compiler, and the
// synonyms and retriever lists bind to the registry's objects.
#include <gtest/gtest.h>

#include "compiler_test_support.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/choice_translator.h"
#include "retrieval/retriever_info.h"
#include "retrieval/value_translators.h"

using namespace compiler_test;

namespace {

CAllRetrieversWin &Registry() {
    static CUserInterface *noWindows = new CUserInterface;
    static CTableEnvironment *environment = new CTableEnvironment;
    static CAllRetrieversWin *registry = new CAllRetrieversWin(*noWindows, *environment);
    return *registry;
}

// A build whose table holds a copy of the program's registry.
struct RegistryBuild {
    RegistryBuild() { EXPECT_EQ(Registry().CopyIntoTable(&table), 0); }

    int Compile(const std::string &source) {
        CPInputChar input(source.data(), static_cast<int32_t>(source.size()));
        LineLog log;
        CInfNetCompiler compiler(&input, &log);
        compiler.SetTargets(&net, &table, &parameters);
        compiler.SetSourceDirectory(CString(pages.Str().c_str()));
        int result = compiler.Compile();
        lines = log.lines;
        return result;
    }

    CDataRetriever *Retriever(const char *name) { return table.FindRetrieverInfo(name)->retriever; }

    CInfTaxNet net;
    CTable table;
    CParameters parameters;
    TempDir pages;
    std::vector<std::string> lines;
};

const std::string kNode = "nodes { n { (bayesian, 0.5) ";

}  // namespace

TEST(CompilerWithRegistry, WorkedExampleReadsItsTablesAndOptions) {
    RegistryBuild build;
    ASSERT_EQ(build.Compile(ReadFile(std::filesystem::path(QUORVIN_TEST_DATA) / "kb" / "worked_example.qvb")), 0)
        << (build.lines.empty() ? "" : build.lines[0]);
    EXPECT_EQ(build.table.FindRetrieverInfo("ask")->retriever, build.Retriever("winprob"));

    CNodeRTInfo *temperature = build.table.FindRTInfo("temperature");
    ASSERT_NE(temperature, nullptr);
    EXPECT_EQ(temperature->translator, build.table.FindTranslator("value"));
    auto *points = dynamic_cast<CDTValueTable *>(temperature->translatorData);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->points, (std::vector<float>{36, 38, 40}));
    EXPECT_EQ(points->probabilities, (std::vector<float>{0, 0.5f, 1}));

    CNodeRTInfo *colour = build.table.FindRTInfo("colour");
    ASSERT_NE(colour, nullptr);
    auto *options = dynamic_cast<CChoiceList *>(colour->retrievers.At(0)->data);
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->count, 3);
    EXPECT_STREQ(options->options.At(0).Text(), "pale");
    EXPECT_STREQ(options->options.At(2).Text(), "red");
    auto *choices = dynamic_cast<CDTChoiceTable *>(colour->translatorData);
    ASSERT_NE(choices, nullptr);
    EXPECT_EQ(choices->probabilities, (std::vector<float>{0.2f, 0.5f, 0.8f}));
}

TEST(CompilerWithRegistry, RetrieverListsAndSynonyms) {
    RegistryBuild build;
    ASSERT_EQ(build.Compile("net { defretr(measure, dbvalue) }\n" + kNode +
                            "retriever (winprob, dnprob) }\n"
                            " x { (bayesian, 0.5) retriever (dbx) }\n"
                            " m { (bayesian, 0.5) retriever (measure winvalue) translator ((0 1) (0 1)) } }"),
              0)
        << build.lines[0];
    CNodeRTInfo *n = build.table.FindRTInfo("n");
    ASSERT_EQ(n->retrievers.Count(), 2);
    EXPECT_EQ(n->retrievers.At(0)->retriever, build.Retriever("winprob"));
    EXPECT_EQ(n->retrievers.At(1)->retriever, build.Retriever("dnprob"));
    EXPECT_EQ(build.table.FindRTInfo("x")->translator, build.table.FindTranslator("valuex"));
    CNodeRTInfo *m = build.table.FindRTInfo("m");
    EXPECT_EQ(m->retrievers.At(0)->retriever, build.Retriever("dbvalue"));
    EXPECT_EQ(m->translator, build.table.FindTranslator("value"));

    struct Case {
        std::string source;
        std::string line;
    };
    const Case failures[] = {{kNode + "retriever (winprob, dnvalue) } }", ErrorLine(1, "cannot add retriever to node")},
                             {"net { defretr(winprob, dnprob) }", ErrorLine(1, "cannot add this retriever synonymum")},
                             {"net { defretr(new, nosuch) }", ErrorLine(1, "cannot add this retriever synonymum")}};
    for (const Case &c : failures) {
        RegistryBuild failing;
        EXPECT_EQ(failing.Compile(c.source), 2);
        EXPECT_EQ(failing.lines, std::vector<std::string>{c.line}) << c.source;
    }
}

TEST(CompilerWithRegistry, TranslatorClauses) {
    struct Case {
        const char *clause;
        bool compiles;
    };
    const Case cases[] = {{"retriever (winvalue) translator ((1 2 3) (0.2 0.4 0.6))", true},
                          {"retriever (winvalue) translator ((1) (0.5))", false},
                          {"retriever (winvalue) translator ((1, 2) (0.5, 1.5))", false},
                          {"retriever (winvalue) translator ((1, 2, 3) (0.5, 0.6))", false},
                          {"retriever (wininterval) translator ((1, 2, 3) (0.5, 0.6))", true},
                          {"retriever (winchoice (a b)) translator (0.7, 0.2, 0.1)", true},
                          {"retriever (winchoice (a b)) translator ()", false},
                          {"retriever (winprob) translator ()", true},
                          {"retriever (winprob) translator (0.5)", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.clause);
        RegistryBuild build;
        int result = build.Compile(kNode + c.clause + " } }");
        EXPECT_EQ(result, c.compiles ? 0 : 2);
        EXPECT_EQ(build.lines.size(), c.compiles ? 0u : 1u);
    }
}

TEST(CompilerWithRegistry, ChoiceListsHoldAtMost255Options) {
    std::string options;
    for (int i = 0; i < 255; ++i) options += "o" + std::to_string(i) + " ";
    RegistryBuild full;
    ASSERT_EQ(full.Compile(kNode + "retriever (winchoice (" + options + ")) } }"), 0);
    EXPECT_EQ(dynamic_cast<CChoiceList *>(full.table.FindRTInfo("n")->retrievers.At(0)->data)->count, 255);

    RegistryBuild over;
    EXPECT_EQ(over.Compile(kNode + "retriever (winchoice (" + options + "one_more)) } }"), 2);
    EXPECT_EQ(over.lines, std::vector<std::string>{ErrorLine(1, "error in reading retriever parameters")});
}
