// CRetriever: the root of every retriever.
//
// A retriever obtains evidence: it asks the user, reads a table record, or
// supplies a default. The three families (data retrievers for nodes, the
// taxonomy retriever and the parameter retriever) differ in what `Retrieve`
// takes, so each family declares its own `Retrieve`. Every retriever can be
// cancelled while it waits for the user.
#pragma once

class CRetriever {
public:
    CRetriever() = default;
    virtual ~CRetriever() = default;
    CRetriever(const CRetriever &) = delete;
    CRetriever &operator=(const CRetriever &) = delete;

    // Stops a question that is being asked, so that its retrieval fails.
    // Retrievers that never wait do nothing.
    virtual void Cancel() = 0;
    // True when the retriever's data must be reset at every consultation
    // start; such attachments are listed in the table's reset list.
    virtual bool NeedsReset() { return false; }
};
