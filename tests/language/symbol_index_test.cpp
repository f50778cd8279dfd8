// The symbol index finds what a knowledge base defines and where it names
// it, in text that compiles and in text that does not.
#include <gtest/gtest.h>

#include <string>

#include "compiler_test_support.h"
#include "language/symbol_index.h"

namespace {

std::string ReadKnowledgeBase(const char *name) {
    return compiler_test::ReadFile(std::string(QUORVIN_TEST_DATA) + "/kb/" + name);
}

void ExpectPlace(const CSourcePlace &place, int32_t line, int32_t column, int32_t endColumn) {
    EXPECT_EQ(place.line, line);
    EXPECT_EQ(place.column, column);
    EXPECT_EQ(place.endColumn, endColumn);
}

std::vector<std::string> NodeNames(const CSymbolIndex &index) {
    std::vector<std::string> names;
    for (const CNodeSymbol &node : index.Nodes()) names.push_back(node.name);
    return names;
}

}  // namespace

TEST(SymbolIndex, FindsEveryConstructOfAKnowledgeBase) {
    const CSymbolIndex index = CSymbolIndex::Read(ReadKnowledgeBase("all_constructs.qvb"));

    EXPECT_EQ(NodeNames(index), (std::vector<std::string>{"fever", "cough", "temperature", "colour", "extent",
                                                          "unknown", "flu", "cold", "chest pain", "infection",
                                                          "both", "healthy"}));
    const CNodeSymbol *fever = index.FindNode("fever");
    ASSERT_NE(fever, nullptr);
    ExpectPlace(fever->place, 14, 3, 8);
    EXPECT_EQ(fever->end.line, 14);
    EXPECT_EQ(fever->description, "Does the patient have a fever?");
    EXPECT_EQ(fever->prior, 0.3);
    EXPECT_FALSE(fever->goal);
    EXPECT_EQ(fever->retrievers, (std::vector<std::string>{"ask", "dnprob"}));
    // Without a text the description is the name; parameters of retrievers are not retrievers.
    const CNodeSymbol *colour = index.FindNode("colour");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->description, "colour");
    EXPECT_EQ(colour->retrievers, (std::vector<std::string>{"winchoice", "dnchoice"}));
    EXPECT_TRUE(colour->hasTranslator);
    EXPECT_EQ(colour->end.line, 20);
    const CNodeSymbol *both = index.FindNode("both");
    ASSERT_NE(both, nullptr);
    EXPECT_TRUE(both->logical);
    EXPECT_EQ(both->logicalType, "and");
    EXPECT_TRUE(both->goal);
    EXPECT_FALSE(both->prior.has_value());
    EXPECT_EQ(index.FindNode("extent")->prior, 0.5);

    // Rules and links, numbers when written.
    ASSERT_EQ(index.Arrows().size(), 12u);
    const auto into = index.RulesInto("flu");
    ASSERT_EQ(into.size(), 2u);
    EXPECT_EQ(into[1]->source, "temperature");
    EXPECT_EQ(into[1]->first, 0.9);
    EXPECT_EQ(into[1]->second, 0.1);
    const auto from = index.RulesFrom("extent");
    ASSERT_EQ(from.size(), 1u);
    EXPECT_EQ(from[0]->target, "chest pain");
    EXPECT_FALSE(index.RulesFrom("cough")[0]->first.has_value());
    EXPECT_TRUE(index.Arrows().back().link);

    // Taxonomies with their classes and members.
    ASSERT_EQ(index.Taxonomies().size(), 4u);
    const CTaxonomySymbol &illness = index.Taxonomies()[0];
    EXPECT_EQ(illness.type, "hypothesis");
    ASSERT_EQ(illness.classes.size(), 4u);
    EXPECT_EQ(illness.classes[1].name, "viral");
    EXPECT_EQ(illness.classes[1].members, (std::vector<std::string>{"flu", "cold"}));
    EXPECT_EQ(illness.classes[2].name, "mild");
    EXPECT_EQ(illness.classes[2].parent, "viral");
    EXPECT_EQ(illness.classes[3].parent, "illness");
    EXPECT_EQ(index.Taxonomies()[1].classes[0].members, (std::vector<std::string>{"fever", "cough"}));
    EXPECT_EQ(index.Taxonomies()[2].name, "respiratory");
    EXPECT_EQ(index.Taxonomies()[3].type, "hiddenboth");

    // The net block: parameters and retriever synonyms.
    ASSERT_EQ(index.NetEntries().size(), 6u);
    EXPECT_EQ(index.NetEntries()[0].value, "report file.txt");
    EXPECT_TRUE(index.NetEntries()[3].asked);
    EXPECT_EQ(index.NetEntries()[4].kind, TSymbolKind::retriever);
    EXPECT_EQ(index.NetEntries()[4].value, "winprob");
}

TEST(SymbolIndex, FindsTheNameAtAPlaceAndItsDefinition) {
    const CSymbolIndex index = CSymbolIndex::Read(ReadKnowledgeBase("all_constructs.qvb"));
    // "  { temperature flu, 0.9 0.1 }" on line 40: the start, the middle and just after a name.
    for (int32_t column : {5, 10, 16}) {
        const CSymbolUse *use = index.UseAt(40, column);
        ASSERT_NE(use, nullptr) << column;
        EXPECT_EQ(use->name, "temperature");
        EXPECT_FALSE(use->definition);
    }
    EXPECT_EQ(index.UseAt(40, 4), nullptr);
    EXPECT_EQ(index.UseAt(40, 25), nullptr);
    ExpectPlace(*index.DefinitionOf(TSymbolKind::node, "temperature"), 16, 3, 14);
    // A retriever synonym used in a node leads to its defretr.
    const CSymbolUse *ask = index.UseAt(14, 74);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->kind, TSymbolKind::retriever);
    ExpectPlace(*index.DefinitionOf(ask->kind, ask->name), 10, 11, 14);
    // A built-in retriever and an undeclared node have no definition in the text.
    EXPECT_FALSE(index.DefinitionOf(TSymbolKind::retriever, "wincf").has_value());
    EXPECT_FALSE(index.DefinitionOf(TSymbolKind::node, "nosuch").has_value());
    // Classes, taxonomies and parameters.
    EXPECT_EQ(index.DefinitionOf(TSymbolKind::taxonomyClass, "mild")->line, 55);
    EXPECT_EQ(index.DefinitionOf(TSymbolKind::taxonomy, "spread")->line, 57);
    EXPECT_EQ(index.DefinitionOf(TSymbolKind::parameter, "patient")->line, 9);
    // The help page of "chest pain" names the node; its text is not read as names.
    const CSymbolUse *page = index.UseAt(61, 4);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->name, "chest pain");
    EXPECT_EQ(index.UseAt(62, 3), nullptr);
    // The first declared node a message names: undeclared names are passed over.
    EXPECT_EQ(index.FirstNodeNamedIn("the rules go round: \"x\" -> \"cold\" -> \"flu\""), index.FindNode("cold"));
    EXPECT_EQ(index.FirstNodeNamedIn("no nodes"), nullptr);
    EXPECT_EQ(index.FirstNodeNamedIn("an unclosed \"flu"), nullptr);
}

TEST(SymbolIndex, ReadsTextThatDoesNotCompileAsFarAsItCan) {
    // A node whose "}" is missing, a rule without its comma and "}", an
    // unknown node in a rule, a stray token between nodes, a section
    // without its "{", and a text left open at the end.
    const std::string text =
        "nodes {\n"
        "  a { 'A?' (bayesian, 0.4) retriever (wincf)\n"
        "  b { (bayesian, 1.3, goal) }\n"
        "  ) 42\n"
        "  c { (logical, or }\n"
        "}\n"
        "rules { { a b 0.5 0.1 { b, c } { a, petrol_smel, 0.9, 0.1 } }\n"
        "links\n"
        "nodes { d { 'unclosed (bayesian, 0.5) }\n";
    const CSymbolIndex index = CSymbolIndex::Read(text);
    EXPECT_EQ(NodeNames(index), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(index.FindNode("a")->retrievers, std::vector<std::string>{"wincf"});
    EXPECT_EQ(index.FindNode("a")->end.line, 2);
    EXPECT_EQ(index.FindNode("b")->prior, 1.3);
    EXPECT_TRUE(index.FindNode("b")->goal);
    EXPECT_EQ(index.FindNode("c")->logicalType, "or");
    ASSERT_EQ(index.Arrows().size(), 3u);
    EXPECT_EQ(index.Arrows()[0].target, "b");
    EXPECT_EQ(index.Arrows()[0].second, 0.1);
    EXPECT_EQ(index.Arrows()[1].source, "b");
    EXPECT_EQ(index.Arrows()[2].target, "petrol_smel");
    EXPECT_FALSE(index.DefinitionOf(TSymbolKind::node, "petrol_smel").has_value());
    EXPECT_EQ(index.RulesInto("c").size(), 1u);
}

TEST(SymbolIndex, SurvivesHostileText) {
    // Deeply nested classes, unbalanced groups, lone keywords and bytes of
    // every value: each is read to its end without overflowing anything.
    std::string deep = "nodes { n { (bayesian, 0.5) } } taxonomies { t hypothesis ";
    for (int i = 0; i < 100000; ++i) deep += "{ c" + std::to_string(i) + " ";
    const CSymbolIndex nested = CSymbolIndex::Read(deep);
    ASSERT_EQ(nested.Taxonomies().size(), 1u);
    EXPECT_EQ(nested.Taxonomies()[0].classes.size(), 100001u);
    EXPECT_EQ(nested.Taxonomies()[0].classes.back().parent, "c99998");

    const std::vector<std::string> texts = {"nodes { a { retriever ((((((( ", "net { setparam ( defretr ( x", "rules { {",
                                   "description { a { never closed", "taxonomies { t (", "}}}}))))((((",
                                   std::string("nodes { \xFF a { } }"), std::string("n\0des { a { } }", 15)};
    for (const std::string &text : texts) {
        const CSymbolIndex index = CSymbolIndex::Read(text);
        EXPECT_LE(index.Nodes().size(), 1u) << text;
    }
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    EXPECT_TRUE(CSymbolIndex::Read(bytes + bytes).Nodes().empty());
}
