#include "DialogDriver.h"
#include "UiFixture.h"
#include "app/DateText.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "archive/ImportReview.h"
#include "archive/RecordValidity.h"
#include "support/PdfText.h"
#include "support/TempDir.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentReviews.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"
#include "ui/data/frmStatistics.h"
#include "ui/dialogs/frmReason.h"

#include <QAction>
#include <QFont>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Dataset(const QStringList& records) {
    return QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n!\r\n>");
}

// Two imports of one meter in an archive of their own: records 1 and 2 by claire, 3 by marc;
// a document of the three records read back from it.
class DocumentTrace : public ::testing::Test {
protected:
    void SetUp() override {
        saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        ASSERT_TRUE(db.Open(ArchiveSettings::Read(f.main->services().ini)))
            << db.Error().toStdString();
        Archive(QStringLiteral("claire"),
                {"1;12.03.24;09:05:03;17;320;PO4-P;;1:1;0.42;mg/l;OK;;;;01.03.24;08:00",
                 "2;12.03.24;09:40:10;18;320;PO4-P;;1:1;0.87;mg/l;OK;;;;01.03.24;08:00"});
        Archive(QStringLiteral("marc"),
                {"3;13.03.24;10:12:00;19;320;PO4-P;;1:1;0.50;mg/l;OK;;;;01.03.24;08:00"});
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", saved); }

    void Archive(const QString& user, const QStringList& records) {
        MValSet set;
        set.strMeter = QStringLiteral("Zentravox");
        set.strSerNo = QStringLiteral("ZV-1");
        set.strUser = user;
        set.strMVals = Dataset(records);
        ArchiveCounts counts;
        ASSERT_TRUE(ArchiveWriter(db).Add(f.main->services().device, set, QString(), counts))
            << db.Error().toStdString();
    }
    // The archive's records as a document, its reviews read.
    void Open() {
        ArchiveFilter filter;
        filter.model = QStringLiteral("Zentravox");
        filter.includeInvalid = true;
        MValSet set;
        ASSERT_TRUE(ArchiveQuery(db).Dataset(filter, set)) << db.Error().toStdString();
        QSignalSpy read(&Doc().Reviews(), &DocumentReviews::Applied);
        Doc().ShowDataset(set, ArchiveExtract());
        ASSERT_TRUE(read.wait(20000));
    }
    frmDocument& Doc() { return *f.main->ActiveDocument(); }
    QAction* Entry(const char* name) { return Doc().findChild<QAction*>(QLatin1String(name)); }
    void SelectRows(const QList<int>& rows) {
        QTableView& table = *Doc().hfgMVals;
        table.clearSelection();
        for (const int row : rows) {
            table.selectionModel()->select(table.model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    TempDir home;
    QByteArray saved;
    MainWindowFixture f;
    ArchiveDatabase db;
};

} // namespace

// "Invalider…" asks a reason (OK stays disabled while it is blank), writes it to the archive
// with who gave it, and the document greys the record and leaves it out of its statistics;
// "Rétablir…" takes it back.
TEST_F(DocumentTrace, InvalidatingAndRestoringFromADocumentWritesTheArchiveAndTheTableFollows) {
    Open();
    const qint64 second = Doc().MVals().origins[1].recordId;
    ASSERT_TRUE(Entry("mnuEditInvalidate")->isEnabled());
    f.ShownItem("mnuStatistics")->trigger();
    SelectRows({1});
    DialogDriver driver;
    driver.Expect<frmReason>([](frmReason& dialog) {
        EXPECT_FALSE(dialog.cmdOK->isEnabled());
        dialog.txtReason->setText(QStringLiteral("cuvette fêlée"));
        EXPECT_TRUE(dialog.cmdOK->isEnabled());
        QTest::keyClick(dialog.txtReason, Qt::Key_Return);
    });
    Entry("mnuEditInvalidate")->trigger();
    EXPECT_EQ(driver.Handled(), 1);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    QHash<qint64, RecordState> invalid;
    ASSERT_TRUE(RecordValidity(db).Invalid({second}, invalid));
    ASSERT_TRUE(invalid.contains(second));
    EXPECT_EQ(invalid[second].reason, QStringLiteral("cuvette fêlée"));
    EXPECT_EQ(invalid[second].who.userName, QStringLiteral("claire"));
    const QModelIndex cell = Doc().hfgMVals->model()->index(1, 8);
    EXPECT_TRUE(cell.data(Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), QStringLiteral("Invalidé: cuvette fêlée"));
    EXPECT_EQ(Doc().TableTools().Statistics()->Rows().value(0).count, 2);

    // Cancelled: nothing written. Restored with a reason: it counts again.
    driver.Expect<frmReason>([](frmReason& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    driver.Expect<frmReason>([](frmReason& dialog) {
        QTest::keyClicks(dialog.txtReason, QStringLiteral("erreur de saisie"));
        dialog.cmdOK->click();
    });
    Entry("mnuEditRestore")->trigger();
    ASSERT_TRUE(RecordValidity(db).Invalid({second}, invalid));
    EXPECT_TRUE(invalid.contains(second));
    Entry("mnuEditRestore")->trigger();
    EXPECT_EQ(driver.Handled(), 3);
    ASSERT_TRUE(RecordValidity(db).Invalid({second}, invalid));
    EXPECT_FALSE(invalid.contains(second));
    EXPECT_FALSE(Doc().hfgMVals->model()->index(1, 8).data(Qt::FontRole).isValid());
    EXPECT_EQ(Doc().TableTools().Statistics()->Rows().value(0).count, 3);

    // Records of an import never archived cannot be, and the window says so.
    MValSet file = Doc().MVals();
    file.origins.clear();
    Doc().ShowDataset(file, ArchiveExtract());
    EXPECT_FALSE(Entry("mnuEditInvalidate")->isEnabled());
}

// The table report names who verified each import of its records, or that one is not: one
// line per reviewer, and one for the imports nobody reviewed yet.
TEST_F(DocumentTrace, TheReportsSignatureSaysWhoVerifiedEachImportOrWhichAreNot) {
    Open();
    const qint64 firstImport = Doc().MVals().origins[0].importId;
    const qint64 secondImport = Doc().MVals().origins[2].importId;
    ArchiveIdentity auditor = db.Identity(QStringLiteral("sophie"));
    auditor.osAccount = QStringLiteral("slambert");
    ASSERT_TRUE(ImportReview(db).Review(firstImport, QString(), auditor, false))
        << db.Error().toStdString();
    Open();
    const QString today = ShortDateText(QDate::currentDate());
    const auto pdfLines = [&] {
        const QString pdf = home.file(QStringLiteral("report.pdf"));
        f.ui.Clear();
        f.ui.dialogAnswers = {pdf};
        Entry("mnuFileExportPdf")->trigger();
        // pdftotext writes the "fi" of "Vérifié" as its ligature.
        return PdfLines(pdf).join('|').replace(QChar(0xfb01), QStringLiteral("fi"));
    };
    QString lines = pdfLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Vérifié par sophie (slambert) le %1 (import %2)")
                                   .arg(today)
                                   .arg(firstImport)))
        << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Non vérifié (import %1)").arg(secondImport)))
        << lines.toStdString();

    // The records of the first import alone: its review only, without naming it.
    MValSet first = Doc().MVals();
    first.strMVals = Dataset(first.strMVals.split(QStringLiteral("\r\n")).mid(1, 2));
    first.origins = first.origins.mid(0, 2);
    QSignalSpy read(&Doc().Reviews(), &DocumentReviews::Applied);
    Doc().ShowDataset(first, ArchiveExtract());
    ASSERT_TRUE(read.wait(20000));
    lines = pdfLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Vérifié par sophie (slambert) le %1").arg(today)));
    EXPECT_FALSE(lines.contains(QStringLiteral("(import"))) << lines.toStdString();
}
