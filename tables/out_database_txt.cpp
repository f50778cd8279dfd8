#include "tables/out_database_txt.h"

#include <cstdio>

#include "net/params.h"
#include "foundation/written_file_name.h"
#include "foundation/safe_file.h"
#include "net/inference_net.h"
#include "net/node.h"

static std::string GoalsFileText(CInferenceNet *net, char separator) {
    // The net's goal list is re-sorted during a consultation; its node list
    // keeps the order of declaration.
    std::string text;
    char line[64];
    for (int32_t i = 0; i < net->nodes.Count(); ++i) {
        const CNode *node = net->nodes.At(i);
        if (!node->goal) continue;
        std::snprintf(line, sizeof line, "%c%f\n", separator, static_cast<double>(node->current));
        text += node->name.Text();
        text += line;
    }
    return text;
}

int32_t WriteGoalsFile(CTableEnvironment &environment, CParameters *parameters, const CString &kind,
                       char separator, CInferenceNet *net, std::string &failure) {
    failure.clear();
    if (!parameters->HasParam(kind)) return 0;
    const CString name = parameters->GetParam(kind);
    std::string reason = kOutsideFolderReason;
    // Replaced at every case of a batch: without a wait for the disk.
    if (IsWritableFileName(name.Text()) &&
        quorvin::ReplaceFile(environment.baseDirectory.Text(), environment.shard.FileName(name.Text()),
                             GoalsFileText(net, separator), reason, quorvin::TReplacing::repeatedly))
        return 0;
    failure = OutputFileFailure(name, reason);
    return 2;
}

COutDatabaseTxt::COutDatabaseTxt(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment)
    : format(tableFormat), environment(tableEnvironment) {}

int32_t COutDatabaseTxt::GetName(CString &kindName) {
    kindName = format.output;
    return 0;
}

int32_t COutDatabaseTxt::Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource * /*source*/) {
    return WriteGoalsFile(environment, parameters, format.output, format.separator, net, failure);
}
