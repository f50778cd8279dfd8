#include "tables/out_database_txt.h"

#include <cstdio>

#include "consult/params.h"
#include "consult/written_file_name.h"
#include "language/written_file.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "tables/text_file.h"

int32_t WriteGoalsFile(CTableEnvironment &environment, CParameters *parameters, const CString &kind,
                       char separator, CInferenceNet *net) {
    if (!parameters->HasParam(kind) || !IsWritableFileName(parameters->GetParam(kind).Text())) return 2;
    const std::string path = environment.ResolvePath(parameters->GetParam(kind));
    if (CTextFile::IsNotRegularFile(path)) return 2;
    std::FILE *file = OpenWrittenFile(path.c_str(), "w");
    if (file == nullptr) return 2;
    // The net's goal list is re-sorted during a consultation; its node list
    // keeps the order of declaration.
    bool written = true;
    for (int32_t i = 0; i < net->nodes.Count(); ++i) {
        const CNode *node = net->nodes.At(i);
        if (node->goal)
            written = std::fprintf(file, "%s%c%f\n", node->name.Text(), separator,
                                   static_cast<double>(node->current)) >= 0 && written;
    }
    return std::fclose(file) == 0 && written ? 0 : 2;
}

COutDatabaseTxtTab::COutDatabaseTxtTab(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t COutDatabaseTxtTab::GetName(CString &kindName) {
    kindName = "odbtxttab";
    return 0;
}

int32_t COutDatabaseTxtTab::Write(CParameters *parameters, CInferenceNet *net, CTable * /*table*/) {
    CString kind;
    GetName(kind);
    return WriteGoalsFile(environment, parameters, kind, '\t', net);
}

COutDatabaseTxtComma::COutDatabaseTxtComma(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t COutDatabaseTxtComma::GetName(CString &kindName) {
    kindName = "odbtxtcomma";
    return 0;
}

int32_t COutDatabaseTxtComma::Write(CParameters *parameters, CInferenceNet *net, CTable * /*table*/) {
    CString kind;
    GetName(kind);
    return WriteGoalsFile(environment, parameters, kind, ',', net);
}
