#include "language/symbol_index.h"

#include <algorithm>
#include <tuple>

#include "language/input_char.h"
#include "language/lexer.h"
#include "language/help_builder.h"
#include "language/output_discard.h"

namespace {

bool StartsSection(TToken token) {
    switch (token) {
    case tokNet:
    case tokNodes:
    case tokRules:
    case tokLinks:
    case tokTaxonomies:
    case tokDescription: return true;
    default: return false;
    }
}

bool IsTaxonomyType(TToken token) {
    return token == tokHypothesis || token == tokHiddenYes || token == tokHiddenNo || token == tokHiddenBoth;
}

bool Before(const CSourcePlace &a, int32_t line, int32_t column) {
    return std::tie(a.line, a.column) < std::tie(line, column);
}

}  // namespace

// Reads the text once, from top to bottom. Every loop either consumes a
// token or returns, so any text is read to its end.
class CSymbolReader {
public:
    CSymbolReader(CPInput *input, CSymbolIndex &target) : lexer(input), index(target), token(lexer.Token()) {}

    void ReadAll() {
        while (token != tokEnd) {
            switch (token) {
            case tokNet: ReadNetBlock(); break;
            case tokNodes: ReadNodes(); break;
            case tokRules: ReadArrows(false); break;
            case tokLinks: ReadArrows(true); break;
            case tokTaxonomies: ReadTaxonomies(); break;
            case tokDescription: ReadDescriptions(); break;
            default: Next();
            }
        }
    }

private:
    CLexicalAnalyzer lexer;
    CSymbolIndex &index;
    TToken token;
    CSourcePlace previous;  // of the token before the current one

    TToken Next() {
        previous = Here();
        token = lexer.Next();
        return token;
    }
    CSourcePlace Here() const { return {lexer.TokenLine(), lexer.Column(), lexer.EndColumn()}; }
    std::string Text() const { return lexer.Text(); }
    // The end of an enclosing construct: its section is over.
    bool SectionOver() const { return token == tokEnd || StartsSection(token); }
    void SkipComma() {
        if (token == tokComma) Next();
    }

    void Use(TSymbolKind kind, const std::string &name, const CSourcePlace &place, bool definition) {
        index.uses.push_back({kind, name, place, definition});
    }

    // Steps over a section keyword and its "{"; false when no "{" follows.
    bool OpenSection() {
        Next();
        if (token != tokLeftBrace) return false;
        Next();
        return true;
    }

    // Steps over a section keyword and its "{", then reads items up to the
    // section's "}": `readItem` at each token that `startsItem` accepts.
    template <typename StartsItem, typename ReadItem>
    void ReadSection(StartsItem startsItem, ReadItem readItem) {
        if (!OpenSection()) return;
        while (!SectionOver()) {
            if (token == tokRightBrace) {
                Next();
                return;
            }
            if (startsItem(token)) {
                readItem();
            } else {
                Next();
            }
        }
    }

    // At "(": steps over the group and the groups inside it. Stops early at a
    // brace or a section, which belong to an enclosing construct.
    void SkipGroup() {
        int depth = 0;
        while (!SectionOver() && token != tokLeftBrace && token != tokRightBrace) {
            if (token == tokLeftParen) ++depth;
            const bool closes = token == tokRightParen && --depth <= 0;
            Next();
            if (closes) return;
        }
    }

    // ------------------------------------------------------------ net block

    void ReadNetBlock() {
        ReadSection([](TToken t) { return t == tokSetParam || t == tokAskParam || t == tokDefRetr; },
                    [this] { ReadNetEntry(token); });
    }

    void ReadNetEntry(TToken keyword) {
        Next();
        if (token != tokLeftParen) return;
        Next();
        if (token != tokName) return;
        CNetEntrySymbol entry;
        entry.kind = keyword == tokDefRetr ? TSymbolKind::retriever : TSymbolKind::parameter;
        entry.name = Text();
        entry.place = Here();
        entry.asked = keyword == tokAskParam;
        Use(entry.kind, entry.name, entry.place, true);
        Next();
        SkipComma();
        if (keyword != tokAskParam && token == tokName) {
            entry.value = Text();
            if (keyword == tokDefRetr) Use(TSymbolKind::retriever, entry.value, Here(), false);
            Next();
        }
        index.netEntries.push_back(std::move(entry));
        if (token == tokRightParen) Next();
    }

    // ------------------------------------------------------------ nodes

    void ReadNodes() {
        ReadSection([](TToken t) { return t == tokName; }, [this] { ReadNode(); });
    }

    void ReadNode() {
        CNodeSymbol node;
        node.name = Text();
        node.place = Here();
        node.end = node.place;
        Next();
        if (token != tokLeftBrace) return;  // a name still being typed
        Next();
        // Recorded before the body, so that uses stay in the order of the text.
        Use(TSymbolKind::node, node.name, node.place, true);
        ReadNodeBody(node);
        if (node.description.empty()) node.description = node.name;
        index.nodeIndex.emplace(node.name, index.nodes.size());
        index.nodes.push_back(std::move(node));
    }

    // Up to and including the node's "}". A name where the body has none
    // starts the next node: this one's "}" is missing.
    void ReadNodeBody(CNodeSymbol &node) {
        while (!SectionOver() && token != tokName) {
            switch (token) {
            case tokRightBrace:
                node.end = Here();
                Next();
                return;
            case tokText:
                if (node.description.empty()) node.description = Text();
                Next();
                break;
            case tokBayesian: ReadPrior(node); break;
            case tokLogical: ReadLogicalType(node); break;
            case tokGoal:
                node.goal = true;
                Next();
                break;
            case tokRetriever:
                Next();
                if (token == tokLeftParen) ReadRetrieverList(node);
                break;
            case tokTranslator:
                node.hasTranslator = true;
                Next();
                if (token == tokLeftParen) SkipGroup();
                break;
            default: Next();
            }
            node.end = previous;
        }
    }

    void ReadPrior(CNodeSymbol &node) {
        node.logical = false;
        Next();
        SkipComma();
        if (token != tokNumber) return;
        node.prior = lexer.Number();
        Next();
    }

    void ReadLogicalType(CNodeSymbol &node) {
        node.logical = true;
        Next();
        SkipComma();
        if (token != tokAnd && token != tokOr && token != tokNot) return;
        node.logicalType = Text();
        Next();
    }

    // At "(": the retriever names, each maybe with its parameters in a group.
    void ReadRetrieverList(CNodeSymbol &node) {
        Next();
        while (!SectionOver() && token != tokLeftBrace && token != tokRightBrace) {
            if (token == tokRightParen) {
                Next();
                return;
            }
            if (token != tokName) {
                Next();
                continue;
            }
            node.retrievers.push_back(Text());
            Use(TSymbolKind::retriever, Text(), Here(), false);
            Next();
            if (token == tokLeftParen) SkipGroup();
        }
    }

    // ------------------------------------------------------------ rules and links

    void ReadArrows(bool link) {
        ReadSection([](TToken t) { return t == tokLeftBrace; }, [this, link] { ReadArrow(link); });
    }

    // At "{": the names and numbers up to "}"; a "{" instead starts the next.
    void ReadArrow(bool link) {
        CArrowSymbol arrow;
        arrow.link = link;
        arrow.place = Here();
        Next();
        while (!SectionOver() && token != tokLeftBrace) {
            if (token == tokRightBrace) {
                Next();
                break;
            }
            if (token == tokName) ReadArrowName(arrow);
            if (token == tokNumber) ReadArrowNumber(arrow);
            if (token != tokRightBrace && token != tokLeftBrace) Next();
        }
        if (!arrow.source.empty()) index.arrows.push_back(std::move(arrow));
    }

    void ReadArrowName(CArrowSymbol &arrow) {
        std::string &slot = arrow.source.empty() ? arrow.source : arrow.target;
        if (!slot.empty()) return;  // a third name: nothing it could be
        slot = Text();
        Use(TSymbolKind::node, slot, Here(), false);
    }

    void ReadArrowNumber(CArrowSymbol &arrow) {
        if (!arrow.first) {
            arrow.first = lexer.Number();
        } else if (!arrow.second) {
            arrow.second = lexer.Number();
        }
    }

    // ------------------------------------------------------------ taxonomies

    void ReadTaxonomies() {
        ReadSection([](TToken t) { return t == tokName; }, [this] { ReadTaxonomy(); });
    }

    void ReadTaxonomy() {
        CTaxonomySymbol taxonomy;
        taxonomy.name = Text();
        taxonomy.place = Here();
        taxonomy.classes.push_back({taxonomy.name, taxonomy.place, "", {}});
        Use(TSymbolKind::taxonomy, taxonomy.name, taxonomy.place, true);
        Next();
        if (IsTaxonomyType(token)) {
            taxonomy.type = Text();
            Next();
        }
        ReadClassTree(taxonomy);
        taxonomy.end = previous;
        index.taxonomies.push_back(std::move(taxonomy));
    }

    // The classes below the root, one after another; the classes whose list
    // is still open wait on a stack of their own, so deep nesting cannot
    // overflow the call stack.
    void ReadClassTree(CTaxonomySymbol &taxonomy) {
        std::vector<std::string> open;
        size_t current = 0;
        for (;;) {
            if (token == tokLeftParen) ReadMembers(taxonomy.classes[current]);
            if (token == tokLeftBrace) {
                open.push_back(taxonomy.classes[current].name);
                Next();
            }
            if (!FindNextClass(open)) return;
            taxonomy.classes.push_back({Text(), Here(), open.back(), {}});
            Use(TSymbolKind::taxonomyClass, Text(), Here(), true);
            current = taxonomy.classes.size() - 1;
            Next();
        }
    }

    // Inside the innermost open class list: true at the next class's name,
    // false once every list is closed or the section is over.
    bool FindNextClass(std::vector<std::string> &open) {
        while (!open.empty() && !SectionOver()) {
            if (token == tokName) return true;
            if (token == tokRightBrace) open.pop_back();
            Next();
        }
        return false;
    }

    void ReadMembers(CClassSymbol &cls) {
        Next();
        while (!SectionOver() && token != tokLeftBrace && token != tokRightBrace) {
            if (token == tokRightParen) {
                Next();
                return;
            }
            if (token == tokName) {
                cls.members.push_back(Text());
                Use(TSymbolKind::node, Text(), Here(), false);
            }
            Next();
        }
    }

    // ------------------------------------------------------------ help pages

    void ReadDescriptions() {
        ReadSection([](TToken t) { return t == tokName; }, [this] { ReadHelpPage(); });
    }

    // A page is named after the node it describes; its raw text, which starts
    // right after the "{", is read past.
    void ReadHelpPage() {
        Use(TSymbolKind::node, Text(), Here(), false);
        Next();
        if (token != tokLeftBrace) return;
        CPOutputDiscard discarded;
        lexer.CopyRawLines('}', &discarded, kHelpLineBuffer);
        Next();
        if (token == tokRightBrace) Next();
    }
};

CSymbolIndex CSymbolIndex::Read(const std::string &text) {
    CSymbolIndex index;
    CPInputChar input(text.data(), static_cast<int32_t>(std::min<size_t>(text.size(), CPInputChar::kMaxLength)));
    if (input.Open() != 0) return index;
    CSymbolReader reader(&input, index);
    reader.ReadAll();
    return index;
}

const CNodeSymbol *CSymbolIndex::FindNode(const std::string &name) const {
    const auto found = nodeIndex.find(name);
    return found == nodeIndex.end() ? nullptr : &nodes[found->second];
}

std::vector<const CArrowSymbol *> CSymbolIndex::RulesInto(const std::string &name) const {
    std::vector<const CArrowSymbol *> found;
    for (const CArrowSymbol &arrow : arrows)
        if (!arrow.link && arrow.target == name) found.push_back(&arrow);
    return found;
}

std::vector<const CArrowSymbol *> CSymbolIndex::RulesFrom(const std::string &name) const {
    std::vector<const CArrowSymbol *> found;
    for (const CArrowSymbol &arrow : arrows)
        if (!arrow.link && arrow.source == name) found.push_back(&arrow);
    return found;
}

const CSymbolUse *CSymbolIndex::UseAt(int32_t line, int32_t column) const {
    // The last use that starts at or before the place is the only candidate.
    const auto after = std::partition_point(uses.begin(), uses.end(), [&](const CSymbolUse &use) {
        return Before(use.place, line, column + 1);
    });
    if (after == uses.begin()) return nullptr;
    const CSymbolUse &candidate = *(after - 1);
    if (candidate.place.line != line || candidate.place.endColumn < column) return nullptr;
    return &candidate;
}

std::optional<CSourcePlace> CSymbolIndex::DefinitionOf(TSymbolKind kind, const std::string &name) const {
    switch (kind) {
    case TSymbolKind::node:
        if (const CNodeSymbol *node = FindNode(name)) return node->place;
        return std::nullopt;
    case TSymbolKind::taxonomy:
    case TSymbolKind::taxonomyClass:
        for (const CTaxonomySymbol &taxonomy : taxonomies)
            for (const CClassSymbol &cls : taxonomy.classes)
                if (cls.name == name) return cls.place;
        return std::nullopt;
    case TSymbolKind::parameter:
    case TSymbolKind::retriever:
        for (const CNetEntrySymbol &entry : netEntries)
            if (entry.kind == kind && entry.name == name) return entry.place;
        return std::nullopt;
    }
    return std::nullopt;
}

const CNodeSymbol *CSymbolIndex::FirstNodeNamedIn(const std::string &message) const {
    for (size_t open = message.find('"'); open != std::string::npos;) {
        const size_t close = message.find('"', open + 1);
        if (close == std::string::npos) return nullptr;
        if (const CNodeSymbol *node = FindNode(message.substr(open + 1, close - open - 1))) return node;
        open = message.find('"', close + 1);
    }
    return nullptr;
}
