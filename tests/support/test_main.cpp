#include "app/Language.h"
#include "archive/ArchiveJob.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

// Test programs run with a private home, a private runtime folder and, unless a display
// was asked for, the offscreen platform: the build runs them to list their tests long
// before CTest's environment applies.
int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/mervex-test-XXXXXX"));
    const QByteArray root = home.path().toLocal8Bit();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/.cache").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(home.path() + QStringLiteral("/.local/share"));
    QDir().mkpath(home.path() + QStringLiteral("/Documents"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (qEnvironmentVariableIsEmpty("MERVEX_PROGRAM_DIR")) {
        setenv("MERVEX_PROGRAM_DIR", MERVEX_BIN_DIR, 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mervex"));
    QApplication::setApplicationName(QStringLiteral("Mervex"));
    // The tests read the build's French texts whatever the desktop's language; the tests of
    // the language choice switch it themselves.
    Language::Use(Language::kFrench);
    const int status = RUN_ALL_TESTS();
    // A window a test closed may leave its archive work running on its own thread (a
    // document's limits or reviews): it ends within moments, and ending the program under
    // it would unload the database drivers it still uses.
    QDeadlineTimer deadline(10000);
    while (ArchiveJob::StillRunning() > 0 && !deadline.hasExpired()) {
        QThread::msleep(10);
    }
    if (ArchiveJob::StillRunning() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
