// The knowledge bases the explanation tests consult: the examples and the
// test data's knowledge bases, as texts, with answers that depend on the
// node's name only, so that two runs get the same answers whatever they ask
// first.
#pragma once

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "net/node.h"

namespace explain_test {

inline std::vector<std::pair<std::string, std::string>> KnowledgeBaseTexts() {
    const std::string data = QUORVIN_TEST_DATA;
    std::vector<std::pair<std::string, std::string>> texts;
    const auto add = [&texts](const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        texts.emplace_back(path.substr(path.rfind('/') + 1), text.str());
    };
    for (const char *file : {"car.qvb", "influenza.qvb", "loan.qvb", "tomato.qvb", "claims.qvb", "pumps.qvb"})
        add(data + "/../../examples/" + file);
    for (const char *file : {"all_constructs.qvb", "worked_example.qvb"}) add(data + "/kb/" + file);
    return texts;
}

// Surely no, surely yes, don't know, or a value between.
inline float AnswerByName(const CNode &node) {
    const size_t hash = std::hash<std::string>()(node.name.Text());
    switch (hash % 4) {
        case 0: return 0.0f;
        case 1: return 1.0f;
        case 2: return node.prior;
        default: return static_cast<float>(hash % 1000) / 1000.0f;
    }
}

}  // namespace explain_test
