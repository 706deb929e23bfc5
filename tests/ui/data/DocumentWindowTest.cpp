#include "UiFixture.h"
#include "app/Twips.h"
#include "support/TempDir.h"
#include "ui/data/DocumentLayout.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

const QString kRecords = QStringLiteral("\r\n1;01.02.20;10:00\r\n!\r\n>");

const QString kQuestion =
    QStringLiteral("Des données ont été modifiées!\r\nDésirez-vous sauvegarder les données?");

// The open document, holding an import that was never saved.
frmDocument* WithUnsavedImport(MainWindowFixture& f) {
    frmDocument* d = f.main->ActiveDocument();
    d->MVals().strMVals = kRecords;
    d->SetModified(true);
    return d;
}

} // namespace

TEST(DocumentWindow, ShowsItsHeaderCaptionsLogoAndAnEmptyGrid) {
    MainWindowFixture f;
    frmDocument* d = f.main->ActiveDocument();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->fraHeader->title(), QStringLiteral("Importation"));
    EXPECT_EQ(d->lblMeter->text(), QStringLiteral("App. de mesure:"));
    EXPECT_EQ(d->lblSerNo->text(), QStringLiteral("Numéro de série:"));
    EXPECT_EQ(d->lblUser->text(), QStringLiteral("Utilisateur:"));
    EXPECT_EQ(d->lblPCDate->text(), QStringLiteral("Date:"));
    EXPECT_EQ(d->lblPCTime->text(), QStringLiteral("Heure:"));
    EXPECT_TRUE(d->lblMeterValue->text().isEmpty());
    EXPECT_FALSE(d->imgLogo->pixmap().isNull());
    EXPECT_EQ(d->hfgMVals->model()->columnCount(), 9);
    EXPECT_EQ(d->hfgMVals->model()->rowCount(), 19);
    EXPECT_FALSE(d->Modified());
    EXPECT_TRUE(d->FilePath().isEmpty());
    EXPECT_EQ(d->MVals().curDate, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
}

TEST(DocumentWindow, DatasetStartsWithTheMeterAndTheLoggedInUser) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("bruno")));
    f.main->MenuFileNew();
    EXPECT_EQ(f.main->ActiveDocument()->MVals().strUser, QStringLiteral("bruno"));
    EXPECT_TRUE(f.main->ActiveDocument()->MVals().strMeter.isEmpty());
}

TEST(DocumentWindow, ANeverSavedDatasetAsksBeforeClosing) {
    MainWindowFixture f;
    frmDocument* d = WithUnsavedImport(f);
    // Yes: the save does not happen (no file chosen), so the window stays.
    f.ui.messageAnswers = {MsgResult::Yes};
    EXPECT_FALSE(d->parentWidget()->close());
    ASSERT_FALSE(f.ui.messages.isEmpty());
    EXPECT_EQ(f.ui.messages[0].text, kQuestion);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Question"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(f.main->NumDocs(), 1);
    // No: the window closes without saving.
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    EXPECT_TRUE(d->parentWidget()->close());
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{kQuestion});
    EXPECT_EQ(f.main->NumDocs(), 0);
}

TEST(DocumentWindow, TheSaveQuestionsWayOutKeepsTheDocumentAndAbandonsTheCommand) {
    MainWindowFixture f;
    frmDocument* d = WithUnsavedImport(f);
    // Cancel (also Escape and the close box) and "Oui" with the save dialog cancelled:
    // asked once, the document stays, New / Open / Quit do not go on.
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::Yes}) {
        f.ui.Clear();
        f.ui.messageAnswers = {answer, answer, answer};
        f.ui.dialogAnswers = {std::nullopt, std::nullopt, std::nullopt, std::nullopt};
        f.main->MenuFileNew();
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{kQuestion});
        EXPECT_EQ(f.main->ActiveDocument(), d);
        f.ui.Clear();
        f.main->OpenDocument(QString());
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{kQuestion});
        EXPECT_EQ(f.main->ActiveDocument(), d);
        f.ui.Clear();
        f.main->MenuFileExit();
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{kQuestion});
        EXPECT_EQ(f.main->NumDocs(), 1);
        EXPECT_TRUE(d->Modified());
    }
    // "Non" goes on.
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    f.main->MenuFileNew();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{kQuestion});
    EXPECT_EQ(f.main->NumDocs(), 1);
    EXPECT_NE(f.main->ActiveDocument(), d);
}

TEST(DocumentWindow, ClosesWithoutAskingWhenThereIsNothingToLose) {
    MainWindowFixture f;
    frmDocument* d = f.main->ActiveDocument();
    d->SetModified(true); // e.g. a failed import: no dataset, no file
    EXPECT_TRUE(d->parentWidget()->close());
    d = nullptr;
    f.main->MenuFileNew();
    f.main->ActiveDocument()->MVals().strMVals = kRecords; // a dataset, but not modified
    f.main->MenuFileNew();
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(f.main->NumDocs(), 1);
}

TEST(DocumentWindow, ExitAsksAndStaysWhenTheDocumentStays) {
    MainWindowFixture f;
    WithUnsavedImport(f);
    f.ui.messageAnswers = {MsgResult::Yes};
    f.main->MenuFileExit();
    EXPECT_TRUE(f.main->isVisible());
    EXPECT_EQ(f.main->NumDocs(), 1);
}

TEST(DocumentWindow, SaveWithoutDatasetSaysSo) {
    MainWindowFixture f;
    for (const char* key : {"Save", "Print", "Export"}) {
        f.ui.Clear();
        f.main->ToolButton(QLatin1String(key))->trigger();
        ASSERT_EQ(f.ui.messages.size(), 1) << key;
        EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Pas de groupes de données importés!"));
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Information"));
        EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Information);
    }
}

TEST(DocumentLayout, LogoAndGridNeedTheirRoom) {
    const DocumentLayout wide = LayOutDocument(8000, 6000);
    EXPECT_TRUE(wide.logoVisible);
    EXPECT_EQ(wide.logoLeft, 8000 - 3250);
    EXPECT_EQ(wide.headerWidth, 7800);
    EXPECT_TRUE(wide.gridVisible);
    EXPECT_EQ(wide.gridHeight, 6000 - 2300);
    EXPECT_FALSE(LayOutDocument(3500, 6000).logoVisible);
    EXPECT_TRUE(LayOutDocument(3501, 6000).logoVisible);
    EXPECT_FALSE(LayOutDocument(8000, 2300).gridVisible);
    EXPECT_FALSE(LayOutDocument(200, 6000).gridVisible);
}

TEST(DocumentLayout, TheWindowFollowsItsSize) {
    MainWindowFixture f;
    frmDocument* d = f.main->ActiveDocument();
    QWidget* frame = d->parentWidget();
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    sub->showNormal();
    const double dpi = d->logicalDpiX();
    d->resize(TwipsToPixels(3000, dpi), TwipsToPixels(2000, d->logicalDpiY()));
    EXPECT_FALSE(d->imgLogo->isVisibleTo(d));
    EXPECT_FALSE(d->hfgMVals->isVisibleTo(d));
    d->resize(TwipsToPixels(9000, dpi), TwipsToPixels(6000, d->logicalDpiY()));
    EXPECT_TRUE(d->imgLogo->isVisibleTo(d));
    EXPECT_TRUE(d->hfgMVals->isVisibleTo(d));
    EXPECT_EQ(d->picHead->width(), d->width());
    EXPECT_NEAR(d->hfgMVals->y(), TwipsToPixels(2200, d->logicalDpiY()), 1);
}

// At a larger desktop font the header's texts and the grid's titles are never cut: the
// designed twips are the least, not the most.
TEST(DocumentLayout, TextsOfALargerFontAreNotCut) {
    MainWindowFixture f;
    frmDocument* d = f.main->ActiveDocument();
    qobject_cast<QMdiSubWindow*>(d->parentWidget())->showNormal();
    QFont large = d->font();
    large.setPointSize(16);
    d->setFont(large);
    TempDir dir;
    const QString path = dir.file(QStringLiteral("long.csv"));
    WriteBytes(path, "METER;S/N;USER;DATE;TIME\r\nZentravox 6000 Professional;SN-2024-000017;"
                     "Marie-Hélène Dupré;3/4/2025;7:8:9\r\n\r\n"
                     "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;01.02.20;10:00\r\n");
    ASSERT_TRUE(d->FillFromFile(path));
    d->resize(TwipsToPixels(9000, d->logicalDpiX()), TwipsToPixels(6000, d->logicalDpiY()));
    for (QLabel* label : d->fraHeader->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
        EXPECT_GE(label->height(), label->sizeHint().height()) << label->objectName().toStdString();
    }
    EXPECT_GE(d->lblPCDate->x(), d->lblMeterValue->geometry().right()) << "no overlap";
    EXPECT_GE(d->hfgMVals->y(), d->fraHeader->geometry().bottom());

    // At the design's own font nothing moves.
    const HeaderPlaces designed = LayOutHeader({});
    EXPECT_EQ(designed.gridTop, 2200);
    EXPECT_EQ(designed.lines[4].nameLeft, 4600);
    EXPECT_EQ(designed.lines[2].top, 820);
}

TEST(MValTableModel, KeepsOneEmptyRowUnderTheTitles) {
    MValTableModel model;
    model.SetColumns({QStringLiteral("No"), QStringLiteral("Date")}, {600, 1200});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date"));
    const QString text = QStringLiteral("1;d1;surplus|2");
    model.SetRecords(text, {QStringView(text).left(12), QStringView(text).mid(13)});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("d1"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString());
    EXPECT_EQ(model.Cell(0, 2), QString()); // beyond the layout's columns
    EXPECT_EQ(model.Cell(1, 0), QStringLiteral("2"));
    EXPECT_EQ(model.Cell(0, 0), QStringLiteral("1")) << "rows split again after another row";
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    model.SetRecords(QString(), {});
    EXPECT_EQ(model.rowCount(), 1);
    // Clearing keeps the size but empties every cell and title.
    model.SetRecords(text, {QStringView(text).left(12), QStringView(text).mid(13)});
    model.Clear();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.Cell(0, 0), QString());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QString());
}
