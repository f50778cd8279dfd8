// quorvin: the desktop application. Every file named on the command line is
// opened in a knowledge-base editor; `quorvin --version` prints the version.
#include <QApplication>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/application.h"
#include "app/guarded_application.h"
#include "app/settings_option_store.h"
#include "quorvin_version.h"

int main(int argc, char **argv) {
    // Answered before Qt starts, so that it works without a display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("quorvin " QUORVIN_VERSION);
            return 0;
        }
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
