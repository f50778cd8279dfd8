// What the constructs of the language leave in the net, the table and the
// parameters: net statements, node declarations with retriever lists, the
// separator rules of rules and links, taxonomy bodies, the order of sections.
#include <gtest/gtest.h>

#include "compiler_test_support.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "net/bayes_node.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/rule.h"
#include "net/taxonomy_class.h"

using namespace compiler_test;

namespace {

const std::string kTwoNodes = "nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} }\n";

// Compiles a text that must compile; a failure shows its error line.
void CompileOk(Build &build, const std::string &source) {
    ASSERT_EQ(build.Compile(source), 0) << source << "\n" << build.Error();
    ASSERT_TRUE(build.lines.empty());
}

std::vector<std::string> MemberNames(CTaxCl *cls) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < cls->members.Count(); ++i) names.emplace_back(cls->members.At(i)->name.Text());
    return names;
}

std::vector<std::string> SubclassNames(CTaxCl *cls) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < cls->subclasses.Count(); ++i) names.emplace_back(cls->subclasses.At(i)->name.Text());
    return names;
}

}  // namespace

TEST(CompilerNetBlock, SetparamFormsAndTheFirstValueWins) {
    Build build;
    CompileOk(build,
              "net { setparam(one, x) setparam(two y) setparam(three) setparam(four,)\n"
              "      setparam(five, \"two words\") setparam(one, later) setparam(helppath, elsewhere)\n"
              "      setparam(six, \"12\") }");
    const std::pair<const char *, const char *> expected[] = {{"one", "x"},   {"two", "y"},        {"three", ""},
                                                              {"four", ""},   {"five", "two words"}, {"six", "12"},
                                                              {"helppath", "temphtml"}};
    for (const auto &[name, value] : expected) {
        EXPECT_TRUE(build.parameters.HasParam(name)) << name;
        EXPECT_STREQ(build.parameters.GetParam(name).Text(), value) << name;
    }
    EXPECT_EQ(build.parameters.Asks().Count(), 0);
    EXPECT_EQ(build.net.nodes.Count(), 0);
}

TEST(CompilerNetBlock, AskparamQueuesEachNewNameOnce) {
    Build build;
    CompileOk(build, "net { askparam(p) setparam(s, sx) askparam(q) askparam(p) askparam(s) }");
    ASSERT_EQ(build.parameters.Asks().Count(), 2);
    EXPECT_STREQ(build.parameters.Asks().At(0)->name.Text(), "p");
    EXPECT_STREQ(build.parameters.Asks().At(1)->name.Text(), "q");
    EXPECT_STREQ(build.parameters.GetParam("s").Text(), "sx");
}

TEST(CompilerNetBlock, HelpPathSetByTheCallerIsKept) {
    Build build;
    build.parameters.SetParam("helppath", "/srv/help");
    CompileOk(build, "net { setparam(helppath, other) }");
    EXPECT_STREQ(build.parameters.GetParam("helppath").Text(), "/srv/help");
}

TEST(CompilerNetBlock, DefretrMakesASynonymNodesCanUse) {
    Build build;
    CompileOk(build,
              "net { defretr(measure dnvalue) defretr(\"ask it\", winprob) }\n"
              "nodes { t { (bayesian, 0.5) retriever (measure, winvalue) translator ((0 1) (0 1)) }\n"
              "        q { (bayesian, 0.5) retriever (\"ask it\", dnprob) } }");
    FakeRegistry &registry = FakeRegistry::Instance();
    using Retrievers = std::vector<CDataRetriever *>;
    EXPECT_EQ(RetrieversOf(build, "t"), (Retrievers{registry.Retriever("dnvalue"), registry.Retriever("winvalue")}));
    ASSERT_NE(build.RTInfo("t"), nullptr);
    EXPECT_EQ(build.RTInfo("t")->translator, registry.Translator("value"));
    EXPECT_EQ(RetrieversOf(build, "q"), (Retrievers{registry.Retriever("winprob"), registry.Retriever("dnprob")}));
}

TEST(CompilerStructure, SectionsInAnyOrderAndNumber) {
    Build onlyNet;
    CompileOk(onlyNet, "net { setparam(prottxt, r.txt) }");
    EXPECT_EQ(onlyNet.net.nodes.Count(), 0);
    EXPECT_STREQ(onlyNet.parameters.GetParam("prottxt").Text(), "r.txt");

    Build noNet;
    CompileOk(noNet, "nodes { a {(bayesian, 0.5)} } rules { } nodes { b {(logical, not)} } rules { {a b} }");
    EXPECT_EQ(noNet.net.nodes.Count(), 2);
    EXPECT_EQ(noNet.net.rules.Count(), 1);
    EXPECT_STREQ(noNet.parameters.GetParam("helppath").Text(), "temphtml");

    Build empty;
    CompileOk(empty, "net { } nodes { } rules { } links { } taxonomies { } description { }");
    EXPECT_EQ(empty.net.nodes.Count(), 0);
    EXPECT_TRUE(empty.helpDir.Files().empty());
}

TEST(CompilerStructure, DescriptionSectionsBetweenOtherSections) {
    Build build;
    CompileOk(build,
              "description { a { page of a } }\n"
              "nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5, goal)} }\n"
              "description { b {\n page of b\n} }\n"
              "rules { {a b, 0.9 0.2} }\n"
              "description { c { } } links { {a b} }");
    EXPECT_EQ(build.net.nodes.Count(), 2);
    EXPECT_EQ(build.net.rules.Count(), 1);
    EXPECT_EQ(build.net.links.Count(), 1);
    EXPECT_EQ(build.helpDir.Files(), (std::vector<std::string>{"a.html", "b.html", "c.html"}));
}

TEST(CompilerNodes, TypesFlagsAndDescriptions) {
    Build build;
    CompileOk(build,
              "nodes {\n"
              "  and1 { (logical, and) }  or1 { (logical, or, goal) }  not1 { 'negated' (logical, not) }\n"
              "  zero { (bayesian, 0) }  one { (bayesian, 1, goal) }  dot { (bayesian, .25) }\n"
              "  \"two words\" { '' (bayesian, 0.5) }  ask { (bayesian, 0.5) retriever (winprob) }\n"
              "}");
    struct Expected {
        const char *name;
        int logicalType;  // -1 for a Bayesian node
        float prior;
        bool goal;
        bool askable;
        const char *description;
    };
    const Expected nodes[] = {{"and1", CLogicalNode::kAnd, 0, false, false, "and1"},
                              {"or1", CLogicalNode::kOr, 0, true, false, "or1"},
                              {"not1", CLogicalNode::kNot, 0, false, false, "negated"},
                              {"zero", -1, 0.0f, false, false, "zero"},
                              {"one", -1, 1.0f, true, false, "one"},
                              {"dot", -1, 0.25f, false, false, "dot"},
                              {"two words", -1, 0.5f, false, false, ""},
                              {"ask", -1, 0.5f, false, true, "ask"}};
    ASSERT_EQ(build.net.nodes.Count(), 8);
    for (const Expected &e : nodes) {
        SCOPED_TRACE(e.name);
        CNode *node = build.Node(e.name);
        ASSERT_NE(node, nullptr);
        if (e.logicalType < 0) {
            auto *bayes = dynamic_cast<CBayesNode *>(node);
            ASSERT_NE(bayes, nullptr);
            EXPECT_EQ(bayes->prior, e.prior);
        } else {
            auto *logical = dynamic_cast<CLogicalNode *>(node);
            ASSERT_NE(logical, nullptr);
            EXPECT_EQ(logical->logicalType, e.logicalType);
        }
        EXPECT_EQ(node->goal, e.goal);
        EXPECT_EQ(node->askable, e.askable);
        EXPECT_STREQ(node->description.Text(), e.description);
    }
    ASSERT_EQ(build.net.goals.Count(), 2);
    EXPECT_STREQ(build.net.goals.At(0)->name.Text(), "or1");
}

TEST(CompilerNodes, RetrieverListsInOrderWithOptionalCommas) {
    Build build;
    CompileOk(build,
              "nodes {\n"
              "  p { (bayesian, 0.3) retriever (winprob dnprob,) }\n"
              "  c { (bayesian, 0.5) retriever (dnchoice (x 'y z',) winchoice (\"q\"), ) translator (0.1 0.2,) }\n"
              "  v { (bayesian, 0.5) retriever (dbx) translator ((1, 2, 3,) (0, 0.5, 1,)) }\n"
              "  n { (bayesian, 0.5) retriever (notknown) translator ( ) }\n"
              "}");
    FakeRegistry &registry = FakeRegistry::Instance();
    using Retrievers = std::vector<CDataRetriever *>;
    EXPECT_EQ(RetrieversOf(build, "p"), (Retrievers{registry.Retriever("winprob"), registry.Retriever("dnprob")}));
    EXPECT_EQ(RetrieversOf(build, "c"), (Retrievers{registry.Retriever("dnchoice"), registry.Retriever("winchoice")}));
    ASSERT_NE(build.RTInfo("p"), nullptr);
    EXPECT_EQ(build.RTInfo("p")->translatorData, nullptr);

    CNodeRTInfo *c = build.RTInfo("c");
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->retrievers.Count(), 2);
    auto *first = dynamic_cast<OptionList *>(c->retrievers.At(0)->data);
    auto *second = dynamic_cast<OptionList *>(c->retrievers.At(1)->data);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->options, (std::vector<std::string>{"x", "y z"}));
    EXPECT_EQ(second->options, (std::vector<std::string>{"q"}));
    auto *choices = dynamic_cast<NumberLists *>(c->translatorData);
    ASSERT_NE(choices, nullptr);
    EXPECT_EQ(choices->first, (std::vector<float>{0.1f, 0.2f}));

    CNodeRTInfo *v = build.RTInfo("v");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->translator, registry.Translator("valuex"));
    auto *table = dynamic_cast<NumberLists *>(v->translatorData);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->first, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(table->second, (std::vector<float>{0, 0.5f, 1}));

    ASSERT_NE(build.RTInfo("n"), nullptr);
    EXPECT_EQ(build.RTInfo("n")->translator, registry.Translator("notknown"));
}

TEST(CompilerNodes, TranslatorReaderRunsOnlyForAClause) {
    auto *prob = dynamic_cast<FakeTranslator *>(FakeRegistry::Instance().Translator("prob"));
    ASSERT_NE(prob, nullptr);
    int32_t before = prob->readerCalls;
    Build build;
    CompileOk(build, "nodes { a { (bayesian, 0.5) retriever (winprob) translator () } b { (bayesian, 0.5) retriever (winprob) } }");
    // Only the clause calls the translator's reader; a node without one does not.
    EXPECT_EQ(prob->readerCalls - before, 1);
}

TEST(CompilerRules, SeparatorsAndDefaultWeights) {
    struct Case {
        const char *rule;
        float pYes;
        float pNo;
    };
    const Case cases[] = {{"{a, b}", 1.0f, 0.0f},
                          {"{a b}", 1.0f, 0.0f},
                          {"{a, b, 0.8, 0.1}", 0.8f, 0.1f},
                          {"{a b , 0.8 0.1}", 0.8f, 0.1f},
                          {"{a b x 0.8, 0.1}", 0.8f, 0.1f},
                          {"{a, b,, 0.8, 0.1}", 0.8f, 0.1f},
                          {"{\"a\" b ) 0 1}", 0.0f, 1.0f},
                          {"{a, b, 0.01e1, 0.05e1}", 0.1f, 0.5f}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        Build build;
        CompileOk(build, kTwoNodes + "rules {\n" + c.rule + "\n}");
        ASSERT_EQ(build.net.rules.Count(), 1);
        CRule *rule = build.net.rules.At(0);
        EXPECT_EQ(rule->source, build.Node("a"));
        EXPECT_EQ(rule->target, build.Node("b"));
        EXPECT_EQ(rule->pYes, c.pYes);
        EXPECT_EQ(rule->pNo, c.pNo);
    }
}

TEST(CompilerLinks, PriorityAndContextWithTheSameSeparators) {
    struct Case {
        const char *link;
        bool priority;
        float low;
        float high;
    };
    const Case cases[] = {{"{a, b}", true, 0, 0},           {"{a b}", true, 0, 0},
                          {"{a, b, 0.2, 0.7}", false, 0.2f, 0.7f}, {"{a b ; 0.2 0.7}", false, 0.2f, 0.7f},
                          {"{a b, 3, 5}", false, 3.0f, 5.0f}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.link);
        Build build;
        CompileOk(build, kTwoNodes + "links { " + c.link + " }");
        ASSERT_EQ(build.net.links.Count(), 1);
        CLink *link = build.net.links.At(0);
        EXPECT_EQ(link->isPriority, c.priority);
        EXPECT_EQ(link->source, build.Node("a"));
        EXPECT_EQ(link->target, build.Node("b"));
        if (!c.priority) {
            auto *context = dynamic_cast<CContextLink *>(link);
            ASSERT_NE(context, nullptr);
            EXPECT_EQ(context->low, c.low);
            EXPECT_EQ(context->high, c.high);
        }
    }
}

TEST(CompilerTaxonomies, BodiesEndAtAFollowingName) {
    Build build;
    CompileOk(build,
              "nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} c {(bayesian, 0.5)} }\n"
              "taxonomies {\n"
              "  bare hypothesis\n"
              "  members hiddenyes (a, b,) next hidden_no\n"
              "  tree hiddenboth (c) {\n"
              "    one (a) two\n"
              "    three { deep (b c) { deeper } } four (a) { }\n"
              "  }\n"
              "  last hidden_both { only }\n"
              "}");
    ASSERT_EQ(build.net.roots.Count(), 5);
    const std::pair<const char *, int> roots[] = {{"bare", CTaxRoot::kHypothesis},
                                                  {"members", CTaxRoot::kHiddenYes},
                                                  {"next", CTaxRoot::kHiddenNo},
                                                  {"tree", CTaxRoot::kHiddenBoth},
                                                  {"last", CTaxRoot::kHiddenBoth}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(build.net.roots.At(i)->name.Text(), roots[i].first);
        EXPECT_EQ(build.net.roots.At(i)->taxonomyType, roots[i].second);
    }
    EXPECT_TRUE(MemberNames(build.net.roots.At(0)).empty());
    EXPECT_EQ(MemberNames(build.net.roots.At(1)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SubclassNames(build.net.roots.At(2)).empty());

    CTaxRoot *tree = build.net.roots.At(3);
    EXPECT_EQ(MemberNames(tree), std::vector<std::string>{"c"});
    EXPECT_EQ(SubclassNames(tree), (std::vector<std::string>{"one", "two", "three", "four"}));
    CTaxCl *three = build.net.FindClass("three");
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(SubclassNames(three), std::vector<std::string>{"deep"});
    CTaxCl *deep = build.net.FindClass("deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(MemberNames(deep), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(SubclassNames(deep), std::vector<std::string>{"deeper"});
    EXPECT_EQ(build.net.FindClass("deeper")->parent, deep);
    EXPECT_EQ(MemberNames(build.net.FindClass("four")), std::vector<std::string>{"a"});
    EXPECT_EQ(MemberNames(build.net.FindClass("one")), std::vector<std::string>{"a"});
    EXPECT_EQ(SubclassNames(build.net.roots.At(4)), std::vector<std::string>{"only"});
    EXPECT_EQ(build.net.allClasses.Count(), 12);

    // Membership is recorded on the nodes too.
    EXPECT_EQ(build.Node("a")->classes.Count(), 3);
}

TEST(CompilerStructure, KeywordsWithoutAConstructAreReportedWhereTheyStand) {
    struct Case {
        std::string source;
        const char *message;
    };
    const Case cases[] = {{"template", "structure definition expected"},
                          {"nodes { template }", "} or identifier expected"},
                          {"nodes { hidden_yes }", "} or identifier expected"},
                          {"nodes { setparam }", "} or identifier expected"},
                          {"net { output }", "} or net parameters expected"},
                          {"rules { hypothesis }", "{ or } expected"},
                          {"taxonomies { goal hypothesis }", "identifier (taxonomy name) expected"},
                          {"description { net { x } }", "identifier (node name) expected"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        Build build;
        EXPECT_EQ(build.Compile(c.source), 2);
        EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(1, c.message)});
    }
}

TEST(CompilerHooks, CalledAroundTheCompilationWithTheHelpPath) {
    for (const std::string source : {"nodes { a {(bayesian, 0.5)} }", "nodes { x"}) {
        SCOPED_TRACE(source);
        Build build;
        CPInputChar input(source.c_str());
        LineLog log;
        CInfNetCompiler compiler(&input, &log);
        compiler.SetTargets(&build.net, &build.table, &build.parameters);
        std::vector<std::string> calls;
        compiler.beforeCompile = [&](CInfNetCompiler &c) {
            EXPECT_EQ(&c, &compiler);
            calls.push_back("before:" + std::to_string(build.net.nodes.Count()));
        };
        compiler.onHelpDirectory = [&](CInfNetCompiler &, const CString &path) { calls.push_back(std::string("help:") + path.Text()); };
        compiler.afterCompile = [&](CInfNetCompiler &) {
            calls.push_back("after:" + std::to_string(build.net.nodes.Count()) + ":" + std::to_string(log.lines.size()));
        };
        int result = compiler.Compile();
        bool failed = source == "nodes { x";
        EXPECT_EQ(result, failed ? 2 : 0);
        EXPECT_EQ(calls, (std::vector<std::string>{"before:0", "help:temphtml", failed ? "after:0:1" : "after:1:0"}));
    }
}

TEST(CompilerHooks, AnEmptySourceFailsBeforeTheHelpPathIsSet) {
    Build build;
    CPInputChar input("  ");
    LineLog log;
    CInfNetCompiler compiler(&input, &log);
    compiler.SetTargets(&build.net, &build.table, &build.parameters);
    bool helpHookCalled = false;
    compiler.onHelpDirectory = [&](CInfNetCompiler &, const CString &) { helpHookCalled = true; };
    EXPECT_EQ(compiler.Compile(), 2);
    EXPECT_FALSE(helpHookCalled);
    EXPECT_FALSE(build.parameters.HasParam("helppath"));
}
