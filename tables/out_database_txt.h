// Name-value output files: every goal of the net with its value, one per
// line ("Flu<TAB>0.734000"), tab-separated ("odbtxttab") or comma-separated
// ("odbtxtcomma"); one class, configured by the row of its
// format (tables/table_formats.h).
//
// The file path is the value of the parameter named like the kind. Each
// consultation replaces the file's content, so it holds the goals of the
// last consultation only, in the order the knowledge base declares them, and
// reads back as a name-value input file of the same separator.
#pragma once

#include <cstdint>
#include <string>

#include "tables/out_database.h"
#include "tables/table_environment.h"
#include "tables/table_format.h"

class COutDatabaseTxt : public COutDatabase {
public:
    explicit COutDatabaseTxt(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment);

    int32_t GetName(CString &kindName) override;
    // 0 when written or not asked for; 2 when the file cannot be written.
    int32_t Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource *source) override;

    const CTableFormat format;

private:
    CTableEnvironment &environment;
};

// Replaces the file named by the kind's parameter with every goal of the
// net, in declaration order, as name, separator, value ("%f") and a line
// end; 0 when the parameter is absent, 2 with the reason in `failure`.
int32_t WriteGoalsFile(CTableEnvironment &environment, CParameters *parameters, const CString &kind,
                       char separator, CInferenceNet *net, std::string &failure);
