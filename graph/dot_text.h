// The net as Graphviz DOT text.
//
// Goals end up on top: edges run from a rule's source up to its target.
// Nodes are filled by their current value on the one colour scale and
// labelled with their name and prior -> current value; a goal has a bold
// outline, an askable node a double one, a logical node is an ellipse naming
// its kind. Rules are solid edges labelled with their weights, links dashed,
// taxonomy classes nested clusters. Node i is called "n<i>" and edge i
// carries the id "e<i>", so that a layout can be read back by index.
// Every name is escaped: quotes, backslashes, and bytes that are not UTF-8
// (read as Latin-1), so any name a knowledge base allows gives valid DOT.
#pragma once

#include <string>
#include <string_view>

#include "graph/net_graph.h"

namespace quorvin::graph {

// `note`, when not empty, is shown under the drawing (e.g. the message of a
// failed consistency check).
std::string DotText(const NetGraph &graph, std::string_view note = {});

// `text` as the inside of a DOT string: valid UTF-8, quotes and backslashes
// escaped, "&" written as an entity since Graphviz reads entities in labels.
std::string DotEscaped(std::string_view text);

}  // namespace quorvin::graph
