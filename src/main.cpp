#include "app/Language.h"
#include "archive/ArchiveJob.h"
#include "meter/SerialLink.h"
#include "ui/app/DesktopUi.h"
#include "ui/meter/frmLogin.h"
#include "ui/shell/CommandLine.h"
#include "ui/shell/QuitRequests.h"
#include "ui/shell/StartUp.h"
#include "ui/shell/frmMain.h"

#include <QApplication>
#include <QTextStream>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication::setOrganizationName(QStringLiteral("Mervex"));
    QApplication::setApplicationName(QStringLiteral("Mervex"));
    QApplication::setApplicationVersion(QStringLiteral(MERVEX_VERSION));
    // Answered before Qt opens the display, which --help and a script's typo do not need.
    QStringList given;
    for (int i = 1; i < argc; ++i) {
        given << QString::fromLocal8Bit(argv[i]);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const auto status = AnswerWithoutWindow(given, out, err)) {
        return *status;
    }
    QApplication app(argc, argv);
    // Message box buttons, file dialogs and the MDI menus speak the program's language.
    Language::InstallQtTranslation();
    Language::UseFormats();
    const QStringList arguments = QApplication::arguments().mid(1);
    const QStringList ports = PortOptions(arguments);

    DesktopUi ui;
    frmMain* window = nullptr;
    // The search shows the ports and rates it tries in the status bar.
    const auto makeLink = [&](Ui& linkUi) -> std::unique_ptr<MeterLink> {
        auto link = MakeSerialLink(linkUi, ports);
        link->SetStatusHook([&window](const QString& port, const QString& baud) {
            if (window) {
                window->SetStatusBarCOM(port, baud);
            }
        });
        return link;
    };
    frmMain main(ui, makeLink);
    window = &main;
    const QuitRequests quitRequests(main, [&main] { main.EndBySignal(); });
    ui.SetMainWindow(&main);
    main.show();
    if (!StartUp(main, [&main](CLogin& login) { ShowLoginDialog(login, &main); }) ||
        main.IsUnloaded()) {
        return 0;
    }
    main.OfferRecovery();
    if (const QStringList files = FileArguments(arguments); !files.isEmpty()) {
        main.OpenFiles(files);
    }
    const int status = QApplication::exec();
    if (ArchiveJob::StillRunning() > 0) {
        // Archive work the user stopped waiting for may still wait on its database: ending
        // here leaves its thread alone, and the database drops what it had begun.
        std::_Exit(status);
    }
    return status;
}
