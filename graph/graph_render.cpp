#include "graph/graph_render.h"

#include <graphviz/gvc.h>

#include <algorithm>
#include <cctype>

#include "graph/graphviz_graph.h"

namespace quorvin::graph {

namespace {

std::string LowerExtension(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    std::string extension(fileName.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

std::optional<PictureFormat> FormatOfFile(std::string_view fileName) {
    const std::string extension = LowerExtension(fileName);
    if (extension == "dot" || extension == "gv") return PictureFormat::dot;
    if (extension == "svg") return PictureFormat::svg;
    if (extension == "png") return PictureFormat::png;
    return std::nullopt;
}

bool RenderPicture(const std::string &dot, PictureFormat format, std::string &picture, std::string &error) {
    if (format == PictureFormat::dot) {
        picture = dot;
        return true;
    }
    GraphvizGraph laidOut(dot);
    if (!laidOut.Ok()) {
        error = laidOut.Error();
        return false;
    }
    char *data = nullptr;
    unsigned int length = 0;
    const char *renderer = format == PictureFormat::svg ? "svg" : "png";
    if (gvRenderData(laidOut.Context(), laidOut.Graph(), renderer, &data, &length) != 0 || data == nullptr) {
        error = std::string("Graphviz could not draw the graph as ") + renderer;
        const std::string messages = GraphvizGraph::TakeMessages();
        if (!messages.empty()) error += ": " + messages;
        if (data != nullptr) gvFreeRenderData(data);
        return false;
    }
    picture.assign(data, length);
    gvFreeRenderData(data);
    return true;
}

}  // namespace quorvin::graph
