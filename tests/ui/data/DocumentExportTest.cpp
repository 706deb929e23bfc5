#include "UiFixture.h"
#include "support/WorkbookReader.h"
#include "ui/data/frmDocument.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// The open document holding a one-record photometer dataset.
frmDocument* WithDataset(MainWindowFixture& f) {
    frmDocument* d = f.main->ActiveDocument();
    d->MVals().strMVals = QStringLiteral("\r\n1;01.02.20;10:00;5;901\r\n!\r\n>");
    d->MVals().strMeter = QStringLiteral("Zentravox");
    return d;
}

} // namespace

TEST(DocumentExport, ButtonAndMenuAskForTheFileAndWriteIt) {
    MainWindowFixture f;
    WithDataset(f);
    TempDir dir;
    const QString path = dir.file("sheet.xls");
    f.ui.dialogAnswers = {path};
    f.main->ToolButton(QStringLiteral("Export"))->trigger();
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    const FileDialogRequest& r = f.ui.dialogs[0].request;
    EXPECT_TRUE(f.ui.dialogs[0].save);
    EXPECT_EQ(r.title, QStringLiteral("Enregistrer sous"));
    // Both types, the workbook first.
    EXPECT_EQ(r.filter,
              QStringLiteral("Classeur .xlsx (*.xlsx)|*.xlsx|"
                             "Feuille de calcul .xls (ancien format Excel) (*.xls)|*.xls"));
    EXPECT_EQ(r.fileName, QStringLiteral("Zentravox 2000-01-01")) << "model, serial, date";
    EXPECT_EQ(r.kind, FileKind::Spreadsheet);
    EXPECT_EQ(r.defaultExtension, QStringLiteral("xlsx"));
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(r.pathMustExist);
    EXPECT_TRUE(r.hideReadOnly);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("0900040002001000")));

    // The menu entry runs the same command; a cancelled dialog ends it silently.
    QFile::remove(path);
    f.ui.Clear();
    f.ui.dialogAnswers = {std::nullopt};
    f.ShownItem("mnuExport")->trigger();
    EXPECT_EQ(f.ui.dialogs.size(), 1);
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(DocumentExport, TheChosenTypeIsWritten) {
    MainWindowFixture f;
    WithDataset(f);
    TempDir dir;
    const QString workbook = dir.file("sheet.xlsx");
    const QString legacy = dir.file("sheet.xls");
    f.ui.dialogAnswers = {workbook, legacy};
    f.ShownItem("mnuExport")->trigger();
    f.ShownItem("mnuExport")->trigger();
    EXPECT_EQ(f.ui.dialogs.size(), 2);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    EXPECT_TRUE(ReadBytes(workbook).startsWith("PK\x03\x04"));
    EXPECT_TRUE(ReadBytes(legacy).startsWith(QByteArray::fromHex("0900040002001000")));
    const WorkbookSheet sheet = ReadWorkbook(workbook);
    EXPECT_EQ(sheet.cells.value({9, 4}).kind, QStringLiteral("number"));
    EXPECT_DOUBLE_EQ(sheet.cells.value({9, 4}).value.toDouble(), 5);
    EXPECT_EQ(sheet.cells.value({9, 2}).kind, QStringLiteral("date"));
}

TEST(DocumentExport, FailureAndEmptyDatasetAreReported) {
    MainWindowFixture f;
    f.ShownItem("mnuExport")->trigger();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Pas de groupes de données importés!"));
    EXPECT_TRUE(f.ui.dialogs.isEmpty());

    WithDataset(f);
    TempDir dir;
    f.ui.Clear();
    f.ui.dialogAnswers = {dir.file("missing/sheet.xls")};
    f.ShownItem("mnuExport")->trigger();
    // The file and the reason first, then the export's own message.
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_EQ(f.ui.messages[0].text,
              dir.file("missing/sheet.xls") + QStringLiteral(": Chemin d'accès introuvable"));
    EXPECT_EQ(f.ui.messages[1].text, QStringLiteral("Erreur lors de l'exportation!"));
    EXPECT_EQ(f.ui.messages[1].title, QStringLiteral("Erreur"));
    EXPECT_EQ(f.ui.messages[1].icon, MsgIcon::Critical);
}
