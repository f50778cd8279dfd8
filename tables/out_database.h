// COutDatabase: an output table that receives the outcome of a consultation.
//
// After a consultation has investigated its goals, the run-time table lets
// every output table write; a kind whose parameters are absent writes
// nothing. A kind that is asked for and cannot write (a refused name, a
// missing file or table, a full disk, an engine error) fails with a text for
// the user, which the run-time table reports at the end of the run. The
// concrete kinds (name-value files, relational files, engine tables) follow.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/cstring.h"
#include "foundation/vector.h"

class CParameters;
class CInferenceNet;
class IEvidenceSource;

class COutDatabase {
public:
    COutDatabase() = default;
    virtual ~COutDatabase() = default;
    COutDatabase(const COutDatabase &) = delete;
    COutDatabase &operator=(const COutDatabase &) = delete;

    // Delivers the kind name (the parameter that switches the kind on); 0.
    virtual int32_t GetName(CString &kindName) = 0;
    // Writes the consultation held by the net; 0 (also when the kind is not
    // asked for) or 2, with the reason in Failure.
    virtual int32_t Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource *source) = 0;

    // Why the last Write failed, naming the file or table.
    const std::string &Failure() const { return failure; }

protected:
    std::string failure;
    std::string reason;  // the cause of a failure, while writing
};

// "Cannot write output file NAME: WHY".
std::string OutputFileFailure(const CString &fileName, const std::string &why);

using COutDatabaseArray = CVector<COutDatabase *>;
