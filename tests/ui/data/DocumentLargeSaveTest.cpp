#include "UiFixture.h"
#include "app/Services.h"
#include "ui/app/frmWait.h"
#include "ui/data/frmDocument.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A document holding a photometer dataset large enough for the wait dialog, and what the
// wait dialog showed while it was written.
class LargeDataset : public ::testing::Test {
protected:
    LargeDataset() {
        const QString record = QStringLiteral(
            "\r\n1;07/12/26;09:05:03;17;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01/12/26;08:00");
        QString records;
        records.reserve(frmDocument::kLargeFile + 2 * record.size());
        while (records.size() < frmDocument::kLargeFile) {
            records += record;
        }
        Doc().MVals().strMVals = records + QStringLiteral("\r\n!\r\n>");
        Doc().MVals().strMeter = QStringLiteral("Zentravox");
        Doc().SetModified(true);
        f.ui.onYield = [this] {
            if (auto* wait = f.main->findChild<frmWait*>(); wait && wait->isVisible()) {
                texts << wait->lblText->text();
                EXPECT_TRUE(f.main->services().busy.Busy());
                if (onWait) {
                    onWait(*wait);
                }
            }
        };
    }
    frmDocument& Doc() { return *f.main->ActiveDocument(); }
    QString Note() { return f.main->statusBar()->currentMessage(); }
    QStringList Files() { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    MainWindowFixture f;
    TempDir dir;
    QStringList texts;
    std::function<void(frmWait&)> onWait;
};

} // namespace

TEST_F(LargeDataset, ASaveShowsItsProgressAndAStoppedOneLeavesFileAndDocumentAsTheyWere) {
    const QString path = dir.file(QStringLiteral("big.csv"));
    f.ui.dialogAnswers = {path};
    Doc().MenuFileSaveAs();
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    ASSERT_GE(texts.size(), 50);
    EXPECT_TRUE(texts.front().startsWith(QStringLiteral("Enregistrement de big.csv : ")));
    EXPECT_EQ(texts.back(), QStringLiteral("Enregistrement de big.csv : 100 %"));
    EXPECT_FALSE(Doc().Modified());
    MValSet back;
    ASSERT_EQ(f.main->services().measVal.OpenFile(back, path), CMeasVal::kOpened);
    EXPECT_TRUE(back.strMVals == Doc().MVals().strMVals);

    // Escape in the wait dialog stops the next save half-way.
    const QByteArray old = ReadBytes(path).left(1000) + "old";
    WriteBytes(path, old);
    Doc().SetModified(true);
    texts.clear();
    onWait = [&](frmWait& wait) {
        if (texts.size() == 10) {
            QTest::keyClick(&wait, Qt::Key_Escape);
        }
    };
    Doc().MenuFileSave();
    EXPECT_EQ(texts.size(), 10);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    EXPECT_TRUE(ReadBytes(path) == old) << "the file changed";
    EXPECT_EQ(Files(), QStringList{QStringLiteral("big.csv")});
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(Doc().FilePath(), path);
    EXPECT_EQ(Note(), QStringLiteral("Enregistrement arrêté: %1 n'a pas été modifié").arg(path));
    EXPECT_FALSE(f.main->services().busy.Busy());
}

TEST_F(LargeDataset, AStoppedExportLeavesNoFileAndASmallOneShowsNoDialog) {
    for (const QString& name : {QStringLiteral("big.xlsx"), QStringLiteral("big.xls")}) {
        f.ui.Clear();
        texts.clear();
        f.ui.dialogAnswers = {dir.file(name)};
        onWait = [](frmWait& wait) { wait.cmdCancel->click(); };
        Doc().MenuExport();
        EXPECT_EQ(texts.size(), 1) << name.toStdString();
        EXPECT_TRUE(texts.value(0).startsWith(QStringLiteral("Exportation de %1 : ").arg(name)));
        EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
        EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
        EXPECT_EQ(
            Note(),
            QStringLiteral("Exportation arrêtée: %1 n'a pas été modifié").arg(dir.file(name)));
    }

    Doc().MVals().strMVals = Doc().MVals().strMVals.right(200);
    texts.clear();
    f.ui.dialogAnswers = {dir.file(QStringLiteral("small.xlsx"))};
    Doc().MenuExport();
    EXPECT_GT(f.ui.yields, 0);
    EXPECT_TRUE(texts.isEmpty()) << "a wait dialog flashed";
    EXPECT_EQ(Files(), QStringList{QStringLiteral("small.xlsx")});
}

// The user asked for the save before quitting: it runs to its end, then the program ends
// by itself with nothing left to ask.
TEST_F(LargeDataset, QuittingDuringASaveEndsTheProgramOnceTheSaveIsDone) {
    const QString path = dir.file(QStringLiteral("big.csv"));
    f.ui.dialogAnswers = {path};
    bool closedAtOnce = true;
    onWait = [&](frmWait&) {
        if (texts.size() == 2) {
            closedAtOnce = f.main->close();
        }
    };
    const QString records = Doc().MVals().strMVals;
    Doc().MenuFileSaveAs();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(texts.back(), QStringLiteral("Enregistrement de big.csv : 100 %"));
    MValSet back;
    ASSERT_EQ(f.main->services().measVal.OpenFile(back, path), CMeasVal::kOpened);
    EXPECT_TRUE(back.strMVals == records);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.main->IsUnloaded(); }, 5000));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
}
