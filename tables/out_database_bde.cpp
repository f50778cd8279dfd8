#include "tables/out_database_bde.h"

#include <memory>

#include "net/params.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "tables/append_groups.h"
#include "tables/database_engine.h"
#include "tables/database_location.h"
#include "tables/table_params.h"

CNode *FindNodeForField(CInferenceNet *net, const CString &fieldName) {
    CNode *node = net->FindNode(fieldName);
    CString variant = fieldName;
    if (node == nullptr) {
        variant.ToUpper();
        node = net->FindNode(variant);
    }
    if (node == nullptr) {
        variant.ToLower();
        node = net->FindNode(variant);
    }
    return node;
}

CString WithDecimalComma(const CString &text) {
    CString converted = text;
    for (int32_t i = 0; i < converted.Length(); ++i) {
        if (text.Text()[i] == '.') converted.CharAt(i) = ',';
    }
    return converted;
}

COutDatabaseBDE::COutDatabaseBDE(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t COutDatabaseBDE::GetName(CString &kindName) {
    kindName = "odbbde";
    return 0;
}

int32_t COutDatabaseBDE::Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource * /*source*/) {
    failure.clear();
    CString kind, tableName;
    GetName(kind);
    if (!parameters->HasParam(kind) || !KeyValue(parameters, kOutputParams, keyValue) ||
        !EngineTableName(parameters, kOutputParams, tableName))
        return 0;
    keyColumnName = KeyColumnName(parameters, kOutputParams);
    const CString alias = parameters->GetParam(kind);
    if (WriteRecord(alias, tableName, net) == 0) return 0;
    failure = std::string("Cannot write to table ") + tableName.Text() + " of database " + WithoutPassword(alias.Text());
    if (!reason.empty()) failure += ": " + reason;
    return 2;
}

CString COutDatabaseBDE::FieldValue(const CString &fieldName, CInferenceNet *net) const {
    CString lower = keyColumnName, upper = keyColumnName;
    lower.ToLower();
    upper.ToUpper();
    if (fieldName.Equals(keyColumnName) || fieldName.Equals(lower) || fieldName.Equals(upper)) return keyValue;
    const CNode *node = FindNodeForField(net, fieldName);
    return node == nullptr ? CString("?") : WithDecimalComma(CString(node->current));
}

int32_t COutDatabaseBDE::WriteRecord(const CString &alias, const CString &tableName, CInferenceNet *net) {
    reason.clear();
    if (environment.appendGroups != nullptr && !environment.appendGroups->Enter(alias.Text(), reason)) return 2;
    const int32_t status = WriteOnce(alias, tableName, net);
    return status == kEngineTableChanged ? WriteOnce(alias, tableName, net) : status;
}

int32_t COutDatabaseBDE::WriteOnce(const CString &alias, const CString &tableName, CInferenceNet *net) {
    std::unique_ptr<CEngineTable> table;
    CStringVector names;
    if (environment.Engine().OpenTable(alias, tableName, CEngineAccess::Append, table) != 0) {
        reason = environment.Engine().LastFailure();
        return 2;
    }
    if (table->FieldNames(names) != 0 || table->Append() != 0) return 2;
    for (int32_t i = 0; i < names.Count(); ++i) {
        // A field that cannot be set stays unset; the others still are.
        int32_t position = -1;
        if (table->FindField(names.At(i), position) == 0)
            table->SetFieldText(position, FieldValue(names.At(i), net));
    }
    const int32_t status = table->Post();
    table->Close();
    if (status == kEngineTableChanged) return status;
    if (status != 0) reason = "the record was not stored";
    return status;
}
