// mervex-save-loop KIND FIRST [TARGET]: saves generation FIRST, FIRST + 1, ... of a large
// file of the given kind (dataset, config, program, protocol) through the program's own
// save operation, until it is killed. Exits 1 when a save fails, 2 on a usage error.

#include "app/Services.h"
#include "support/SaveLoop.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const std::optional<SaveLoop::Kind> kind =
        args.isEmpty() ? std::nullopt : SaveLoop::KindNamed(args[0]);
    bool numeric = false;
    const int first = args.size() > 1 ? args[1].toInt(&numeric) : 0;
    if (!kind || !numeric || args.size() > 3) {
        std::fputs("usage: mervex-save-loop dataset|config|program|protocol FIRST [TARGET]\n",
                   stderr);
        return 2;
    }
    const QString target = args.value(2);
    ScriptedUi ui;
    ui.processEvents = false;
    Services services(ui, SaveLoop::Link());
    for (int generation = first;; ++generation) {
        if (!SaveLoop::Save(services, *kind, target, generation) || !ui.messages.isEmpty()) {
            std::fprintf(stderr, "mervex-save-loop: %s\n",
                         ui.MessageTexts().join(QLatin1Char(' ')).toLocal8Bit().constData());
            return 1;
        }
    }
}
