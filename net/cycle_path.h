// The cycle behind a failed elimination: which vertices go round.
//
// When the consistency check's elimination leaves vertices over, each of
// them still has an edge from another one left over, so following such edges
// backwards from any of them must come round to a vertex already seen. The
// vertices from that one on, in the direction of the edges, are a cycle;
// they are what the check's detail names.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

// The cycle reached by following `predecessor` (a vertex left over before
// the given one, or none) back from `start`, in the direction of the edges
// and starting at the vertex where it closed; empty when a vertex without a
// predecessor is reached. Vertex must be ordered.
template <typename Vertex, typename Predecessor>
std::vector<Vertex> CycleBehind(Vertex start, Predecessor predecessor) {
    std::vector<Vertex> path;
    std::map<Vertex, size_t> seenAt;
    std::optional<Vertex> vertex = start;
    while (vertex) {
        const auto [seen, fresh] = seenAt.emplace(*vertex, path.size());
        if (!fresh) {
            std::vector<Vertex> cycle(path.begin() + static_cast<std::ptrdiff_t>(seen->second), path.end());
            std::reverse(cycle.begin(), cycle.end());
            std::rotate(cycle.begin(), cycle.end() - 1, cycle.end());
            return cycle;
        }
        path.push_back(*vertex);
        vertex = predecessor(*vertex);
    }
    return {};
}
