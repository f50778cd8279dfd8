#include "consult/protocol.h"

#include <utility>

#include "foundation/safe_file.h"
#include "net/node.h"

CProtocol::CProtocol(std::string directory, std::string name)
    : file(record.Stream()), directory(std::move(directory)), name(std::move(name)) {}

CProtocol::~CProtocol() = default;

bool CProtocol::Save(std::string &failure) {
    if (file == nullptr) {
        failure = "Cannot write report " + name + ": out of memory";
        return false;
    }
    const std::string text = record.Take();
    file = record.Stream();  // Take opened a fresh stream
    std::string reason;
    if (quorvin::AppendRecord(directory, name, text, reason)) return true;
    failure = "Cannot write report " + name + ": " + reason;
    return false;
}

void WriteGoalTable(std::FILE *out, const CNodeArray &goals) {
    std::fputs("<table border=\"1\"><tr><td><center><b>Order</b></center></td>"
               "<td><center><b>Goal name</b></center></td>",
               out);
    std::fputs("<td><center><b>Aprior</b></center></td><td><center><b>Aposterior</b></center></td></tr>\n", out);
    for (int32_t i = 0; i < goals.Count(); ++i) {
        const CNode *goal = goals.At(i);
        std::fprintf(out, "<tr><td><center>%i</center></td>", i + 1);
        std::fprintf(out, "<td><center>%s</center></td>", goal->name.Text());
        std::fprintf(out, "<td><center>%f</center></td>", static_cast<double>(goal->prior));
        std::fprintf(out, "<td><center>%f</center></td></tr>\n", static_cast<double>(goal->current));
    }
}
