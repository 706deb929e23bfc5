#include "ui/app/RecentMenu.h"

#include "app/RecentFiles.h"
#include "ui/app/MenuCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

void FillRecentMenu(QMenu* menu, MenuCommands& commands) {
    menu->clear();
    const QStringList files = RecentFiles::List();
    menu->menuAction()->setEnabled(!files.isEmpty());
    int number = 0;
    for (const QString& path : files) {
        ++number;
        const QString name =
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(name));
        entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(number));
        entry->setData(path);
        entry->setStatusTip(QDir::toNativeSeparators(path));
        QObject::connect(entry, &QAction::triggered, menu,
                         [&commands, path] { commands.OpenFiles({path}); });
    }
}
