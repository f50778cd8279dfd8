// The picture of a net as a file: DOT text, or SVG or PNG drawn by Graphviz.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvin::graph {

enum class PictureFormat { dot, svg, png };

// The format a file name's extension asks for (".dot" or ".gv", ".svg",
// ".png", in any case); none for any other.
std::optional<PictureFormat> FormatOfFile(std::string_view fileName);

// Lays out the DOT text and draws it in `format` into `picture`; DOT text is
// passed through. False with Graphviz's message when it cannot.
bool RenderPicture(const std::string &dot, PictureFormat format, std::string &picture, std::string &error);

}  // namespace quorvin::graph
