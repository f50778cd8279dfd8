// quorvin: the desktop application. Every file named on the command line is
// opened in a knowledge-base editor.
#include <QApplication>
#include <clocale>
#include <csignal>
#include <memory>

#include "app/application.h"
#include "app/guarded_application.h"
#include "app/settings_option_store.h"

int main(int argc, char **argv) {
    TGuardedApplication application(argc, argv);
    // The core writes and reads numbers with the C library: always with a
    // decimal point, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
#ifdef SIGXFSZ
    // A file-size limit makes a write fail, and be reported, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TQuorvinApp program(std::make_unique<CSettingsOptionStore>());
    program.Start(arguments);
    const int status = QApplication::exec();
    program.Shutdown();
    return status;
}
