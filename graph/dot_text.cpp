#include "graph/dot_text.h"

#include <cstdint>
#include <cstdio>

#include "graph/value_colour.h"

namespace quorvin::graph {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
size_t Utf8Length(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const auto continues = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    const uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return continues(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continues(1) || !continues(2)) return 0;
        if (lead == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
        if (lead == 0xED && byte(1) > 0x9F) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continues(1) || !continues(2) || !continues(3)) return 0;
        if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
        if (lead == 0xF4 && byte(1) > 0x8F) return 0;  // beyond U+10FFFF
        return 4;
    }
    return 0;
}

void AppendLatin1(std::string &out, uint8_t byte) {
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
}

std::string Value(float value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

std::string NodeLine(const GraphNode &node, size_t index) {
    const Rgb fill = ValueColour(node.current);
    std::string label = DotEscaped(node.name);
    if (node.kind != "bayesian") label += " (" + node.kind + ")";
    label += "\\n" + Value(node.prior) + " \xE2\x86\x92 " + Value(node.current);
    std::string line = "  n" + std::to_string(index) + " [label=\"" + label + "\" fillcolor=\"" + HexText(fill) + "\"";
    if (IsDark(fill)) line += " fontcolor=\"white\"";
    if (node.kind != "bayesian") line += " shape=ellipse";
    if (node.goal) line += " penwidth=2.5";
    if (node.askable) line += " peripheries=2";
    return line + "];\n";
}

std::string EdgeLine(const GraphEdge &edge, size_t index) {
    std::string line = "  n" + std::to_string(edge.from) + " -> n" + std::to_string(edge.to) + " [id=\"e" +
                       std::to_string(index) + "\" label=\"" + DotEscaped(edge.label) + "\"";
    if (edge.kind != EdgeKind::rule) line += " style=dashed";
    return line + "];\n";
}

// The cluster `c` with its nodes and, nested, its subclasses.
void AppendCluster(const NetGraph &graph, size_t c, const std::vector<std::vector<size_t>> &members,
                   const std::vector<std::vector<size_t>> &subclusters, const std::string &indent, std::string &dot) {
    dot += indent + "subgraph cluster_" + std::to_string(c) + " {\n";
    dot += indent + "  label=\"" + DotEscaped(graph.clusters[c].name) + "\";\n";
    for (size_t n : members[c]) dot += indent + "  n" + std::to_string(n) + ";\n";
    for (size_t sub : subclusters[c]) AppendCluster(graph, sub, members, subclusters, indent + "  ", dot);
    dot += indent + "}\n";
}

void AppendClusters(const NetGraph &graph, std::string &dot) {
    std::vector<std::vector<size_t>> members(graph.clusters.size());
    std::vector<std::vector<size_t>> subclusters(graph.clusters.size());
    for (size_t n = 0; n < graph.nodes.size(); ++n) {
        if (graph.nodes[n].cluster >= 0) members[graph.nodes[n].cluster].push_back(n);
    }
    for (size_t c = 0; c < graph.clusters.size(); ++c) {
        if (graph.clusters[c].parent >= 0) subclusters[graph.clusters[c].parent].push_back(c);
    }
    for (size_t c = 0; c < graph.clusters.size(); ++c) {
        if (graph.clusters[c].parent < 0) AppendCluster(graph, c, members, subclusters, "  ", dot);
    }
}

}  // namespace

std::string DotEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t length = Utf8Length(text);
        if (length == 0) {
            AppendLatin1(out, static_cast<uint8_t>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        const char c = text[0];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '\n' || c == '\r') {
            out += ' ';
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string DotText(const NetGraph &graph, std::string_view note) {
    std::string dot =
        "digraph net {\n"
        "  rankdir=BT;\n"
        "  newrank=true;\n"
        "  fontname=\"Helvetica\";\n"
        "  node [shape=box style=\"rounded,filled\" fontname=\"Helvetica\" fontsize=10];\n"
        "  edge [fontname=\"Helvetica\" fontsize=8];\n";
    if (!note.empty()) dot += "  label=\"" + DotEscaped(note) + "\";\n  labelloc=b;\n";
    for (size_t i = 0; i < graph.nodes.size(); ++i) dot += NodeLine(graph.nodes[i], i);
    AppendClusters(graph, dot);
    for (size_t i = 0; i < graph.edges.size(); ++i) dot += EdgeLine(graph.edges[i], i);
    return dot + "}\n";
}

}  // namespace quorvin::graph
