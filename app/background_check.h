// TBackgroundCheck: compiles and checks a knowledge base's text on a thread
// of its own, for the editor's marks while typing.
//
// One check runs at a time. A text given while one runs waits, replacing
// any text that waited before it, and is checked when the running one is
// done: the result of the newest text always arrives, and the editor never
// waits for a check. Results arrive on the object's own thread. The check
// writes no file (consult/text_check.h); the index of the same text comes
// with it. Destroying the object waits for a running check to finish.
//
// The check copies retrievers, and the question retrievers of the desktop's
// registry touch their windows when copied: widgets may only be touched on
// the GUI thread. So the check has a registry of its own, with the same
// retrievers and no windows.
#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>
#include <optional>
#include <thread>

#include "consult/text_check.h"
#include "language/symbol_index.h"

#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"


class TBackgroundCheck : public QObject {
    Q_OBJECT
public:
    explicit TBackgroundCheck(QObject *parent = nullptr);
    ~TBackgroundCheck() override;

    // Checks the text (UTF-8), now or after the running check.
    void Check(const QByteArray &text);
    bool Running() const { return running; }

signals:
    void Finished(const CTextCheck &check, std::shared_ptr<const CSymbolIndex> index);

private:
    void Start(std::string text);
    void Deliver(const CTextCheck &check, std::shared_ptr<const CSymbolIndex> index);

    CUserInterface noWindows;
    CTableEnvironment environment;
    CAllRetrieversWin registry{noWindows, environment};
    std::thread worker;
    bool running = false;
    std::optional<std::string> waiting;
};
