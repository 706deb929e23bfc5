// The Quality control window over the archive of an import: the controls, a control's chart
// and points with their rules, the copy of the points, and the keyboard.

#include "UiFixture.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/QcStore.h"
#include "support/TempDir.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"
#include "ui/qc/QcBanner.h"
#include "ui/qc/QcChartView.h"
#include "ui/qc/frmQualityControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The control "KS" five times (target 2, SD 0.1: the fourth lies +3.4 s out) and a sample.
const QString kRecords =
    QStringLiteral("1;01.12.26;08:00:00;KS;303;PO4-P;;1:1;2.00;mg/l;OK;;;;01.12.26;07:00\r\n"
                   "2;02.12.26;08:00:00;KS;303;PO4-P;;1:1;2.05;mg/l;OK;;;;01.12.26;07:00\r\n"
                   "3;03.12.26;08:00:00;river;303;PO4-P;;1:1;9.10;mg/l;OK;;;;01.12.26;07:00\r\n"
                   "4;04.12.26;08:00:00;KS;303;PO4-P;;1:1;1.95;mg/l;OK;;;;01.12.26;07:00\r\n"
                   "5;05.12.26;08:00:00;ks;303;PO4-P;;1:1;2.34;mg/l;OK;;;;01.12.26;07:00\r\n"
                   "6;06.12.26;08:00:00;KS;303;PO4-P;;1:1;> MR;mg/l;OK;;;;01.12.26;07:00");

class QualityControlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(QStringLiteral("Zentravox"));
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords);
        f.main->ActiveDocument()->MenuImport();
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(ArchiveSettings{})) << db.Error().toStdString();
        QcControl control;
        control.name = QStringLiteral("KS-PO4");
        control.matchText = QStringLiteral("KS");
        QcVersion version;
        version.target = 2.0;
        version.sd = 0.1;
        version.unit = QStringLiteral("mg/l");
        ASSERT_TRUE(QcStore(db).Define(control, version)) << db.Error().toStdString();
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    TempDir dir;
    MainWindowFixture f;

private:
    QByteArray m_saved;
};

} // namespace

TEST_F(QualityControlWindow, ShowsTheControlsChartAndPointsWithTheirRulesAndCopiesThem) {
    f.ShownItem("mnuQualityControl")->trigger();
    auto* window = f.main->findChild<frmQualityControl*>(QStringLiteral("frmQualityControl"));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->lstControls->count(), 1);
    EXPECT_EQ(window->lstControls->currentItem()->text(), QStringLiteral("KS-PO4"));
    EXPECT_EQ(window->grdVersions->rowCount(), 1);
    EXPECT_EQ(window->grdVersions->item(0, 0)->text(), QStringLiteral("2026-12-01"));
    // Four points; "> MR" is no point and is counted apart.
    ASSERT_EQ(window->grdPoints->rowCount(), 4);
    EXPECT_EQ(window->picChart->Chart().points.size(), 4);
    EXPECT_EQ(window->grdPoints->item(3, 4)->text(), QStringLiteral("1-2s+1-3s"));
    EXPECT_EQ(window->grdPoints->item(3, 3)->background().color(), QColor(255, 205, 205));
    EXPECT_TRUE(window->lblCounts->text().contains(QStringLiteral("1-3s: 1")))
        << window->lblCounts->text().toStdString();
    EXPECT_TRUE(window->lblCounts->text().contains(QStringLiteral("\n1 ")))
        << window->lblCounts->text().toStdString();
    // Sorted by z, the rejected point comes last; a copy takes the table as it shows.
    window->grdPoints->sortItems(3, Qt::AscendingOrder);
    window->activateWindow();
    window->grdPoints->setFocus();
    window->grdPoints->clearSelection();
    QTest::keyClick(window->grdPoints, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines =
        QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("\t3.4000\t1-2s+1-3s"))) << lines[4].toStdString();
    // Escape closes the window.
    const QPointer<frmQualityControl> alive(window);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull() || !alive->isVisible(); }));
}

TEST_F(QualityControlWindow, AnImportsRejectedControlShowsABannerMarksItsRowAndOpensTheChart) {
    frmDocument& document = *f.main->ActiveDocument();
    const auto note = [&] {
        return f.main->statusBar()->findChild<QLabel*>(QStringLiteral("lblStatusNote"))->text();
    };
    // The meter sends its memory again with one more control value, −3.4 s after +3.4 s;
    // the dataset shown is archived already, no need to save it.
    f.ui.messageAnswers.push_back(MsgResult::No);
    f.link->ScriptOk(QStringLiteral("U.581\r\n"),
                     kRecords + QStringLiteral("\r\n7;07.12.26;08:00:00;KS;303;PO4-P;;1:1;1.66;"
                                               "mg/l;OK;;;;01.12.26;07:00"));
    document.MenuImport();
    QcBanner& banner = *document.fraQcBanner;
    ASSERT_TRUE(banner.isVisible()) << note().toStdString();
    EXPECT_EQ(banner.lblQcBanner->text(),
              LoadResString(1696).arg(QStringLiteral("KS-PO4"), QStringLiteral("1-3s, R-4s"),
                                      LoadResString(1697).arg(QStringLiteral("−3s"))));
    EXPECT_GT(banner.geometry().bottom(), 0);
    EXPECT_LE(banner.geometry().bottom(), document.hfgMVals->geometry().top());
    const MValTableModel& model = document.GridModel();
    ASSERT_EQ(model.rowCount(), 7);
    EXPECT_TRUE(model.IsMarked(6));
    EXPECT_FALSE(model.IsMarked(4)); // rejected too, but by the import before
    EXPECT_EQ(model.index(6, 0).data(Qt::ToolTipRole).toString(), banner.lblQcBanner->text());
    EXPECT_EQ(note(), LoadResString(1650).arg(1).arg(6));

    banner.cmdQcChart->click();
    auto* window = f.main->findChild<frmQualityControl*>(QStringLiteral("frmQualityControl"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->lstControls->currentItem()->text(), QStringLiteral("KS-PO4"));
    EXPECT_EQ(window->grdPoints->rowCount(), 5);
    banner.cmdQcBannerClose->click();
    EXPECT_FALSE(banner.isVisible());

    // A value within the limits: said on the status bar, and no banner nor mark remains.
    f.link->ScriptOk(QStringLiteral("U.581\r\n"),
                     QStringLiteral("8;08.12.26;08:00:00;KS;303;PO4-P;;1:1;2.01;"
                                    "mg/l;OK;;;;01.12.26;07:00"));
    f.ui.messageAnswers.push_back(MsgResult::No);
    document.MenuImport();
    EXPECT_FALSE(banner.isVisible());
    EXPECT_FALSE(document.GridModel().IsMarked(0));
    EXPECT_EQ(note(),
              LoadResString(1650).arg(1).arg(0) + QStringLiteral(" – ") + LoadResString(1732));
}
