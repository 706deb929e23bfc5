#include "data/RecoveryStore.h"

#include "app/Services.h"
#include "app/TextTables.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

MValSet Import(const QString& serial, const QTime& time) {
    MValSet set;
    set.strMeter = QStringLiteral("Zentravox");
    set.strSerNo = serial;
    set.strUser = QStringLiteral("anna");
    set.curDate = QDateTime(QDate(2026, 12, 10), time);
    set.strMVals = QStringLiteral("\r\n1;08.01.24;10:00;007;3.50;mg/l;OK\r\n!\r\n>");
    return set;
}

} // namespace

// A copy is named by meter, serial number and the import's time, unique in its folder, and
// holds byte for byte what Save writes; the list gives the copies oldest first and a removed
// copy leaves it.
TEST(RecoveryStore, WritesNamedCopiesAsSaveWouldListsAndRemovesThem) {
    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    TempDir dir;
    const RecoveryStore store(dir.file(QStringLiteral("recovery")));
    EXPECT_TRUE(store.List().isEmpty()); // no folder yet

    const MValSet first = Import(QStringLiteral("SN/7"), QTime(9, 5, 3));
    const QString a = store.Write(services.measVal, first);
    const QString b = store.Write(services.measVal, first);
    const QString c = store.Write(services.measVal, Import(QString(), QTime(23, 59, 0)));
    EXPECT_EQ(QFileInfo(a).fileName(), QStringLiteral("Zentravox SN-7 2026-12-10 09-05-03.csv"));
    EXPECT_EQ(QFileInfo(b).fileName(),
              QStringLiteral("Zentravox SN-7 2026-12-10 09-05-03 (2).csv"));
    EXPECT_EQ(QFileInfo(c).fileName(), QStringLiteral("Zentravox 2026-12-10 23-59-00.csv"));
    ASSERT_TRUE(services.measVal.SaveFile(first, dir.file(QStringLiteral("saved.csv"))));
    EXPECT_EQ(ReadBytes(a), ReadBytes(dir.file(QStringLiteral("saved.csv"))));
    MValSet back;
    ASSERT_EQ(services.measVal.OpenFile(back, a), CMeasVal::kOpened);
    EXPECT_EQ(back.strMVals, first.strMVals);

    // The times of writing decide the order, whatever the names say.
    const QDateTime now = QDateTime::currentDateTime();
    for (const auto& [path, age] : {std::pair{c, 30}, {a, 20}, {b, 10}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(now.addSecs(-age), QFileDevice::FileModificationTime);
    }
    WriteBytes(QDir(store.Folder()).filePath(QStringLiteral("notes.txt")), "not a copy");
    EXPECT_EQ(store.List(), (QStringList{c, a, b}));
    RecoveryStore::Remove(a);
    RecoveryStore::Remove(a);
    EXPECT_EQ(store.List(), (QStringList{c, b}));
    EXPECT_TRUE(ui.messages.isEmpty());

    EXPECT_EQ(RecoveryStore().Folder(),
              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery");
}

// The question names the copies and asks in the program's words; a copy that cannot be
// written is reported like a failed save and gives no path.
TEST(RecoveryStore, AsksAboutTheCopiesByNameAndReportsACopyItCannotWrite) {
    ScriptedUi ui;
    ui.messageAnswers = {MsgResult::No};
    EXPECT_EQ(AskToRecover(ui, {QStringLiteral("/r/Zentravox SN 7 2026-12-10 09-05-03.csv")}),
              MsgResult::No);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, LoadResString(1626) +
                                       "\r\nZentravox SN 7 2026-12-10 09-05-03\r\n\r\n" +
                                       "Récupérer les données non enregistrées?");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);

    Services services(ui, std::make_unique<ScriptedMeterLink>());
    TempDir dir;
    WriteBytes(dir.file(QStringLiteral("file")), "a file where the folder should be");
    const RecoveryStore store(dir.file(QStringLiteral("file")));
    ui.Clear();
    EXPECT_TRUE(
        store.Write(services.measVal, Import(QStringLiteral("1"), QTime(1, 2, 3))).isEmpty());
    EXPECT_EQ(ui.messages.size(), 1);
}
