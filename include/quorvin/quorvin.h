// Quorvin, embedded: load a knowledge base, open sessions on it, consult.
//
//     #include <quorvin/quorvin.h>
//
//     quorvin::KnowledgeBase kb = quorvin::KnowledgeBase::FromFile("car.qvb");
//     if (!kb.Built()) { for (auto &line : kb.BuildLines()) std::puts(line.c_str()); return 1; }
//     quorvin::Session session(kb);
//     quorvin::Result result = session.Run({{"engine_cranks", "n"}, {"voltage_ok", "11.6"}});
//     for (const quorvin::Goal &goal : result.goals) std::printf("%s %f\n", goal.name.c_str(), goal.current);
//
// Link with the CMake package (find_package(Quorvin), target
// Quorvin::quorvin) or pkg-config (`pkg-config --cflags --libs quorvin`).
#pragma once

#include "quorvin/knowledge_base.h"
#include "quorvin/result.h"
#include "quorvin/session.h"
