#include "UiFixture.h"
#include "app/DateText.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveExtract.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "archive/ImportReview.h"
#include "support/PdfText.h"
#include "support/TempDir.h"
#include "ui/data/DocumentReviews.h"
#include "ui/data/frmDocument.h"

#include <QAction>
#include <QSignalSpy>
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

    TempDir home;
    QByteArray saved;
    MainWindowFixture f;
    ArchiveDatabase db;
};

} // namespace

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
