// CSymbolIndex: what a knowledge base's text defines and where it names it,
// for editors (hover, go to definition, outline, completion).
//
// The index reads the text with the compiler's lexer but builds nothing: it
// records the nodes (with their description, type, prior, goal flag,
// retrievers and the rules into and out of them), the taxonomies and their
// classes, the parameters of the net block, the retriever synonyms of
// `defretr`, and every place a name of theirs is used. It reads text that
// does not compile: a construct broken off by a missing brace or a stray
// token is kept as far as it was written, and reading goes on at the next
// item or section it recognises. It never writes a file (help pages are
// skipped, not written) and never fails.
//
// Places are those of diagnostics (language/diagnostic.h): line, first and
// one-past-last column of a token, counting single-byte characters from 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "language/diagnostic.h"

// What a name stands for.
enum class TSymbolKind { node, retriever, taxonomy, taxonomyClass, parameter };

// A node as declared in a `nodes` section.
struct CNodeSymbol {
    std::string name;
    CSourcePlace place;     // of the name
    CSourcePlace end;       // of the last token of the declaration
    std::string description;  // the quoted text, or the name when there is none
    bool logical = false;
    std::string logicalType;  // "and", "or", "not"; "" when not written
    std::optional<double> prior;  // of a Bayesian node, when written
    bool goal = false;
    std::vector<std::string> retrievers;  // in the order written
    bool hasTranslator = false;
};

// A rule or a link: `{ source, target [, first, second] }`.
struct CArrowSymbol {
    bool link = false;
    std::string source;
    std::string target;
    std::optional<double> first;   // P(H|E), or the link's lower bound
    std::optional<double> second;  // P(H|not E), or the upper bound
    CSourcePlace place;  // of the opening "{"
};

// A class of a taxonomy; the taxonomy itself is its root class.
struct CClassSymbol {
    std::string name;
    CSourcePlace place;
    std::string parent;  // "" for a taxonomy's root
    std::vector<std::string> members;
};

struct CTaxonomySymbol {
    std::string name;
    CSourcePlace place;
    CSourcePlace end;
    std::string type;  // the type keyword as written; "" when missing
    std::vector<CClassSymbol> classes;  // the root first, then in the order written
};

// A parameter set or asked in the net block, or a retriever synonym.
struct CNetEntrySymbol {
    TSymbolKind kind = TSymbolKind::parameter;  // parameter or retriever
    std::string name;
    CSourcePlace place;
    std::string value;  // setparam's value, or the retriever a synonym stands for
    bool asked = false;  // askparam
};

// One place where a name stands in the text.
struct CSymbolUse {
    TSymbolKind kind = TSymbolKind::node;
    std::string name;
    CSourcePlace place;
    bool definition = false;
};

class CSymbolIndex {
public:
    // Reads a whole knowledge-base text.
    static CSymbolIndex Read(const std::string &text);

    // What was found, in the order of the text
    const std::vector<CNodeSymbol> &Nodes() const { return nodes; }
    const std::vector<CArrowSymbol> &Arrows() const { return arrows; }
    const std::vector<CTaxonomySymbol> &Taxonomies() const { return taxonomies; }
    const std::vector<CNetEntrySymbol> &NetEntries() const { return netEntries; }
    const std::vector<CSymbolUse> &Uses() const { return uses; }

    // Looking up
    // The first declaration of a node; null when there is none.
    const CNodeSymbol *FindNode(const std::string &name) const;
    // The rules (not links) that lead into, and out of, a node.
    std::vector<const CArrowSymbol *> RulesInto(const std::string &name) const;
    std::vector<const CArrowSymbol *> RulesFrom(const std::string &name) const;
    // The name whose token covers the place (a column within [column,
    // endColumn]; the end counts, so a caret just after a name finds it).
    const CSymbolUse *UseAt(int32_t line, int32_t column) const;
    // Where a name of that kind is defined; none for a name the text does
    // not define (an undeclared node, a built-in retriever).
    std::optional<CSourcePlace> DefinitionOf(TSymbolKind kind, const std::string &name) const;
    // The first declared node that a message names in double quotes, as
    // the consistency check's messages and details do; null when none.
    const CNodeSymbol *FirstNodeNamedIn(const std::string &message) const;

private:
    friend class CSymbolReader;

    std::vector<CNodeSymbol> nodes;
    std::vector<CArrowSymbol> arrows;
    std::vector<CTaxonomySymbol> taxonomies;
    std::vector<CNetEntrySymbol> netEntries;
    std::vector<CSymbolUse> uses;  // sorted by place, as read
    std::unordered_map<std::string, size_t> nodeIndex;  // name -> first declaration
};
