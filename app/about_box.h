// TAboutBox: the modal dialog "About", centred on the main window each time
// it is shown: the product name, its version, the program's version (as
// `quorvin --version` prints it), the institution that makes it,
// the technical contact's mail address and two web addresses. Clicking the
// mail address starts a new mail to it with the product name as subject;
// clicking a web address opens it in the browser. When the system cannot,
// the box says "Unable to start mail client." or "Unable to start web
// browser.".
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *mainWindow);

    // Centres the box on the main window and shows it until it is closed.
    void Execute();
    // Opens an address as a click on it does.
    void OpenAddress(const QUrl &address);

    // How addresses are handed to the system (tests replace it); true when
    // the system's handler started.
    using TUrlOpener = std::function<bool(const QUrl &)>;
    void SetUrlOpener(TUrlOpener opener) { urlOpener = std::move(opener); }

    static constexpr const char *kInstitution = "The Quorvin Project";
    static constexpr const char *kContactMail = "support@example.org";
    static constexpr const char *kInstitutionWeb = "https://www.example.org/";
    static constexpr const char *kProductWeb = "https://www.example.org/quorvin/";

    QLabel *lBuildVersion;
    QLabel *lMail;
    QLabel *lInstitutionWeb;
    QLabel *lProductWeb;
    QPushButton *bttOK;

private:
    QWidget *mainWindow;
    TUrlOpener urlOpener;
};
