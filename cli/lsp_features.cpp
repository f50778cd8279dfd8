#include "lsp_features.h"

#include <cstdio>
#include <map>

#include "language/lexer.h"

using nlohmann::json;

namespace {

// The protocol's kinds, by their numbers.
enum SymbolKindNumber { kProperty = 7, kFunction = 12, kVariable = 13, kEnum = 10, kEvent = 24, kEnumMember = 22 };
enum CompletionKindNumber { kCompleteFunction = 3, kCompleteVariable = 6, kCompleteKeyword = 14 };
constexpr int kSeverityError = 1;


json Position(const LspPosition &position) { return {{"line", position.line}, {"character", position.character}}; }

json Range(const LspDocument &document, const CSourcePlace &from, const CSourcePlace &to, LspEncoding encoding) {
    return {{"start", Position(document.PositionOf(from.line, from.column, encoding))},
            {"end", Position(document.PositionOf(to.line, to.endColumn, encoding))}};
}

json Range(const LspDocument &document, const CSourcePlace &place, LspEncoding encoding) {
    return Range(document, place, place, encoding);
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string OptionalNumber(const std::optional<double> &value) { return value ? Number(*value) : "?"; }

// "goal, Bayesian, prior 0.3" or "logical and"
std::string NodeSummary(const CNodeSymbol &node) {
    std::string summary = node.goal ? "goal, " : "";
    if (node.logical) return summary + "logical " + (node.logicalType.empty() ? "?" : node.logicalType);
    return summary + "Bayesian, prior " + OptionalNumber(node.prior);
}

std::string RuleLine(const std::string &other, const CArrowSymbol &rule) {
    if (!rule.first) return "- `" + other + "` (P(H|E) 1, P(H|not E) 0)\n";
    return "- `" + other + "`: P(H|E) " + OptionalNumber(rule.first) + ", P(H|not E) " + OptionalNumber(rule.second) +
           "\n";
}

std::string NodeHover(const CSymbolIndex &index, const CNodeSymbol &node) {
    std::string text = "**" + node.name + "** (" + NodeSummary(node) + ")\n\n";
    if (node.description != node.name) text += node.description + "\n\n";
    if (!node.retrievers.empty()) {
        text += "Asked through:";
        for (const std::string &retriever : node.retrievers) text += " `" + retriever + "`";
        text += "\n\n";
    }
    const auto into = index.RulesInto(node.name);
    if (!into.empty()) text += "Rules into it, from:\n";
    for (const CArrowSymbol *rule : into) text += RuleLine(rule->source, *rule);
    const auto from = index.RulesFrom(node.name);
    if (!from.empty()) text += (into.empty() ? "" : "\n") + std::string("Rules from it, to:\n");
    for (const CArrowSymbol *rule : from) text += RuleLine(rule->target, *rule);
    return text;
}

std::string RetrieverHover(const CSymbolIndex &index, const std::string &name,
                           const std::vector<LspRetrieverName> &registry) {
    for (const CNetEntrySymbol &entry : index.NetEntries())
        if (entry.kind == TSymbolKind::retriever && entry.name == name)
            return "**" + name + "**: another name for the retriever `" + entry.value + "`";
    for (const LspRetrieverName &retriever : registry)
        if (retriever.name == name)
            return "**" + name + "**: retriever; its answers are translated by `" + retriever.translator + "`";
    return "**" + name + "**: no retriever of that name";
}

std::string ClassHover(const CSymbolIndex &index, const std::string &name) {
    for (const CTaxonomySymbol &taxonomy : index.Taxonomies()) {
        for (const CClassSymbol &cls : taxonomy.classes) {
            if (cls.name != name) continue;
            std::string text = cls.parent.empty() ? "**" + name + "**: taxonomy (" + taxonomy.type + ")"
                                                  : "**" + name + "**: class of `" + cls.parent + "` in taxonomy `" +
                                                        taxonomy.name + "`";
            if (!cls.members.empty()) text += "\n\nMembers:";
            for (const std::string &member : cls.members) text += " `" + member + "`";
            return text;
        }
    }
    return "";
}

std::string ParameterHover(const CSymbolIndex &index, const std::string &name) {
    for (const CNetEntrySymbol &entry : index.NetEntries())
        if (entry.kind == TSymbolKind::parameter && entry.name == name)
            return "**" + name + "**: parameter, " + (entry.asked ? "asked at the start" : "set to \"" + entry.value + "\"");
    return "";
}

json NodeSymbol(const LspDocument &document, const CNodeSymbol &node, LspEncoding encoding) {
    return {{"name", node.name},
            {"detail", NodeSummary(node)},
            {"kind", node.goal ? kEvent : kVariable},
            {"range", Range(document, node.place, node.end, encoding)},
            {"selectionRange", Range(document, node.place, encoding)}};
}

// A taxonomy with its classes nested as they are in the text.
json TaxonomySymbol(const LspDocument &document, const CTaxonomySymbol &taxonomy, LspEncoding encoding) {
    std::vector<json> classes;
    std::map<std::string, size_t> byName;
    for (const CClassSymbol &cls : taxonomy.classes) {
        byName.emplace(cls.name, classes.size());
        classes.push_back({{"name", cls.name},
                           {"kind", cls.parent.empty() ? kEnum : kEnumMember},
                           {"range", Range(document, cls.place, encoding)},
                           {"selectionRange", Range(document, cls.place, encoding)},
                           {"children", json::array()}});
    }
    classes[0]["range"] = Range(document, taxonomy.place, taxonomy.end, encoding);
    classes[0]["detail"] = taxonomy.type;
    // Children come after their parents, so the last are moved in first.
    for (size_t i = classes.size(); i-- > 1;) {
        auto parent = byName.find(taxonomy.classes[i].parent);
        size_t target = parent == byName.end() || parent->second >= i ? 0 : parent->second;
        auto &children = classes[target]["children"];
        children.insert(children.begin(), std::move(classes[i]));
    }
    return classes[0];
}

}  // namespace

json DiagnosticsOf(LspDocument &document, const CTextCheck &check, LspEncoding encoding) {
    json diagnostics = json::array();
    if (check.ok || !check.diagnostic) return diagnostics;
    const CDiagnostic &found = *check.diagnostic;
    CSourcePlace place = found.place;
    if (place.line == 0) {
        const CNodeSymbol *node = document.Index().FirstNodeNamedIn(found.message + " " + found.detail);
        place = node != nullptr ? node->place : CSourcePlace{1, 1, 1};
    }
    const std::string message = found.detail.empty() ? found.message : found.message + ": " + found.detail;
    diagnostics.push_back({{"range", Range(document, place, encoding)},
                           {"severity", kSeverityError},
                           {"source", "quorvin"},
                           {"message", message}});
    return diagnostics;
}

json HoverAt(LspDocument &document, const LspPosition &position, LspEncoding encoding,
             const std::vector<LspRetrieverName> &registry) {
    const CSymbolIndex &index = document.Index();
    const CSourcePlace place = document.PlaceOf(position, encoding);
    const CSymbolUse *use = index.UseAt(place.line, place.column);
    if (use == nullptr) return nullptr;
    std::string text;
    switch (use->kind) {
    case TSymbolKind::node:
        if (const CNodeSymbol *node = index.FindNode(use->name)) {
            text = NodeHover(index, *node);
        } else {
            text = "**" + use->name + "**: no node of that name is declared";
        }
        break;
    case TSymbolKind::retriever: text = RetrieverHover(index, use->name, registry); break;
    case TSymbolKind::taxonomy:
    case TSymbolKind::taxonomyClass: text = ClassHover(index, use->name); break;
    case TSymbolKind::parameter: text = ParameterHover(index, use->name); break;
    }
    if (text.empty()) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", Range(document, use->place, encoding)}};
}

json DefinitionAt(LspDocument &document, const std::string &uri, const LspPosition &position, LspEncoding encoding) {
    const CSymbolIndex &index = document.Index();
    const CSourcePlace place = document.PlaceOf(position, encoding);
    const CSymbolUse *use = index.UseAt(place.line, place.column);
    if (use == nullptr) return nullptr;
    const auto definition = index.DefinitionOf(use->kind, use->name);
    if (!definition) return nullptr;
    return {{"uri", uri}, {"range", Range(document, *definition, encoding)}};
}

json DocumentSymbols(LspDocument &document, LspEncoding encoding) {
    const CSymbolIndex &index = document.Index();
    json symbols = json::array();
    for (const CNetEntrySymbol &entry : index.NetEntries()) {
        const bool parameter = entry.kind == TSymbolKind::parameter;
        symbols.push_back({{"name", entry.name},
                           {"detail", parameter ? (entry.asked ? "asked parameter" : "parameter") : "= " + entry.value},
                           {"kind", parameter ? kProperty : kFunction},
                           {"range", Range(document, entry.place, encoding)},
                           {"selectionRange", Range(document, entry.place, encoding)}});
    }
    for (const CNodeSymbol &node : index.Nodes()) symbols.push_back(NodeSymbol(document, node, encoding));
    for (const CTaxonomySymbol &taxonomy : index.Taxonomies())
        symbols.push_back(TaxonomySymbol(document, taxonomy, encoding));
    return symbols;
}

json CompletionItems(LspDocument &document, const std::vector<LspRetrieverName> &registry) {
    const CSymbolIndex &index = document.Index();
    json items = json::array();
    for (const CNodeSymbol &node : index.Nodes())
        items.push_back({{"label", node.name}, {"kind", kCompleteVariable}, {"detail", node.description}});
    for (const CNetEntrySymbol &entry : index.NetEntries())
        if (entry.kind == TSymbolKind::retriever)
            items.push_back({{"label", entry.name}, {"kind", kCompleteFunction}, {"detail", "retriever = " + entry.value}});
    for (const LspRetrieverName &retriever : registry)
        items.push_back({{"label", retriever.name},
                         {"kind", kCompleteFunction},
                         {"detail", "retriever, translated by " + retriever.translator}});
    for (const std::string &keyword : CLexicalAnalyzer::Keywords()) items.push_back({{"label", keyword}, {"kind", kCompleteKeyword}});
    return {{"isIncomplete", false}, {"items", items}};
}
