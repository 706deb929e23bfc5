#include "UiFixture.h"

#include "ui/shell/StartUp.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

ProgramFolder::ProgramFolder(const QByteArray& settingsIni, bool withPictures)
    : m_previous(qgetenv("MERVEX_PROGRAM_DIR")) {
    WriteBytes(m_dir.file(QStringLiteral("Settings.ini")), settingsIni);
    qputenv("MERVEX_PROGRAM_DIR", m_dir.path().toLocal8Bit());
    if (!withPictures) {
        return;
    }
    const QDir pictures(QStringLiteral(MERVEX_BIN_DIR "/Grafics"));
    QDir(m_dir.path()).mkdir(QStringLiteral("Grafics"));
    for (const QString& name : pictures.entryList(QDir::Files)) {
        QFile::copy(pictures.filePath(name), m_dir.file(QStringLiteral("Grafics/") + name));
    }
}

ProgramFolder::~ProgramFolder() {
    qputenv("MERVEX_PROGRAM_DIR", m_previous);
}

MainWindowFixture::MainWindowFixture() {
    main = std::make_unique<frmMain>(ui, [this](Ui&) {
        auto scripted = std::make_unique<ObservedLink>();
        scripted->onDestroyed = [this](const ObservedLink& released) {
            releasedLinkCalls = released.calls;
            link = nullptr;
        };
        link = scripted.get();
        return scripted;
    });
    main->show();
}

MainWindowFixture::~MainWindowFixture() {
    // Nothing may ask any more: the test's answers are used up.
    ui.messageAnswers.assign(64, MsgResult::No);
    main->close();
}

bool MainWindowFixture::LogIn(const QString& userName, bool search) {
    return StartUp(*main, [&](CLogin& login) {
        login.Successful(true);
        login.SearchDevice(search);
        login.UserName(userName);
    });
}

void MainWindowFixture::RecogniseMeter(const QString& model, const QString& serialNumber) {
    link->ScriptOk(QStringLiteral("U.400\r\n"), QString());
    link->ScriptOk(QStringLiteral("U.597\r\n"), QStringLiteral("2.50"));
    link->ScriptOk(QStringLiteral("U.595\r\n"), model);
    link->ScriptOk(QStringLiteral("U.596\r\n"), serialNumber);
    link->ScriptOk(QStringLiteral("U.592\r\n"), QString());
    link->ScriptOk(QStringLiteral("U.999\r\n"), QString());
    QString name;
    QString serial;
    EXPECT_EQ(main->services().device.Recognise(name, serial, false), 0);
    ui.Clear();
}

namespace {

QAction* FindItem(const QList<QAction*>& actions, const QString& name) {
    for (QAction* action : actions) {
        if (action->objectName() == name) {
            return action;
        }
        if (QMenu* menu = action->menu()) {
            if (QAction* item = FindItem(menu->actions(), name)) {
                return item;
            }
        }
    }
    return nullptr;
}

} // namespace

QAction* MainWindowFixture::ShownItem(const char* name) const {
    return FindItem(main->menuBar()->actions(), QLatin1String(name));
}
