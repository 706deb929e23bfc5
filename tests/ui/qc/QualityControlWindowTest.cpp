// The Quality control window over the archive of an import: the controls, a control's chart
// and points with their rules, the copy of the points, the keyboard, the dialog that defines a
// control or a new version, the window opened from the Archive window, and the report.

#include "DialogDriver.h"
#include "UiFixture.h"
#include "app/TextTables.h"
#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveDatabase.h"
#include "archive/QcStore.h"
#include "support/PdfText.h"
#include "support/TempDir.h"
#include "ui/archive/frmArchive.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"
#include "ui/qc/QcBanner.h"
#include "ui/qc/QcChartView.h"
#include "ui/qc/frmQcDefine.h"
#include "ui/qc/frmQualityControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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

// A second control, "KS2", twice a day from 7 December 2026 on: `n` values around 5.
double Ks2Value(int i) {
    return 5.0 + 0.01 * ((i * 7) % 11 - 5);
}
QDateTime Ks2Time(int i) {
    return QDateTime(QDate(2026, 12, 7).addDays(i / 2), QTime(i % 2 == 0 ? 8 : 14, 0));
}
QString Ks2Records(int n) {
    QString lines;
    for (int i = 0; i < n; ++i) {
        const QDateTime at = Ks2Time(i);
        lines += QStringLiteral("\r\n%1;%2;%3;KS2;303;PO4-P;;1:1;%4;mg/l;OK;;;;01.12.26;07:00")
                     .arg(7 + i)
                     .arg(at.toString(QStringLiteral("dd.MM.yy")),
                          at.toString(QStringLiteral("HH:mm:ss")))
                     .arg(Ks2Value(i), 0, 'f', 2);
    }
    return lines;
}
constexpr int kKs2Points = 90;

class QualityControlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(QStringLiteral("Zentravox"));
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords + Ks2Records(kKs2Points));
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

    frmQualityControl* OpenWindow() {
        f.ShownItem("mnuQualityControl")->trigger();
        return f.main->findChild<frmQualityControl*>(QStringLiteral("frmQualityControl"));
    }

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
    ASSERT_EQ(window->lstSkipped->count(), 1); // "> MR", listed with why
    EXPECT_TRUE(window->lstSkipped->item(0)->text().endsWith(
        LoadResString(1902).arg(QStringLiteral("> MR"))));
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

TEST_F(QualityControlWindow, DefinesAControlAndANewVersionEstimatedFromAPeriodWithTheKeyboard) {
    frmQualityControl* window = OpenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->cmdNewVersion->isEnabled());
    DialogDriver driver;
    // A new control typed in: Tab goes from field to field, Enter saves.
    driver.Expect<frmQcDefine>([](frmQcDefine& d) {
        EXPECT_EQ(d.windowTitle(), LoadResString(1603));
        d.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(d.focusWidget(), d.txtName);
        QTest::keyClicks(d.txtName, QStringLiteral("KS2"));
        QTest::keyClick(d.txtName, Qt::Key_Tab);
        EXPECT_EQ(d.focusWidget(), d.txtProgram);
        QTest::keyClick(d.txtProgram, Qt::Key_Tab);
        EXPECT_EQ(d.focusWidget(), d.txtCitation);
        d.txtMatch->setFocus();
        QTest::keyClicks(d.txtMatch, QStringLiteral("ks2"));
        QTest::keyClick(d.txtMatch, Qt::Key_Tab);
        EXPECT_EQ(d.focusWidget(), d.optTyped);
        QTest::keyClick(d.optTyped, Qt::Key_Tab);
        EXPECT_EQ(d.focusWidget(), d.txtTarget);
        QTest::keyClicks(d.txtTarget, QStringLiteral("5,0"));
        QTest::keyClick(d.txtTarget, Qt::Key_Tab);
        QTest::keyClicks(d.txtSD, QStringLiteral("0.03"));
        d.txtUnit->setText(QStringLiteral("mg/l"));
        d.chkRules[2]->setChecked(false);
        d.cboRunLength->setCurrentIndex(d.cboRunLength->findData(8));
        QTest::keyClick(d.txtSD, Qt::Key_Return);
    });
    window->cmdNewControl->click();
    ASSERT_EQ(driver.Handled(), 1);
    ASSERT_EQ(window->lstControls->count(), 2);
    EXPECT_EQ(window->lstControls->currentItem()->text(), QStringLiteral("KS2"));
    ASSERT_EQ(window->grdVersions->rowCount(), 1);
    // Valid from the earliest point, as the command line dates it; who and when beside it.
    const auto versionCells = [window](int row) {
        QStringList cells;
        for (int c = 0; c < window->grdVersions->columnCount(); ++c) {
            cells << window->grdVersions->item(row, c)->text();
        }
        return cells;
    };
    QStringList cells = versionCells(0);
    EXPECT_EQ(cells.mid(0, 5), (QStringList{QStringLiteral("2026-12-07"), QStringLiteral("5"),
                                            QStringLiteral("0.03"), QStringLiteral("mg/l"),
                                            QStringLiteral("1-2s,1-3s,R-4s,4-1s,8x")}));
    EXPECT_EQ(cells[5], ArchiveIdentity::OfProcess({}).osAccount);
    EXPECT_FALSE(cells[6].isEmpty());
    EXPECT_EQ(window->grdPoints->rowCount(), kKs2Points);

    // A new version estimated from a period: refused with too few points, shown, then taken.
    double sum = 0.0;
    int n = 0;
    for (int i = 0; Ks2Time(i).date() <= QDate(2026, 12, 31); ++i, ++n) {
        sum += Ks2Value(i);
    }
    driver.Expect<frmQcDefine>([&](frmQcDefine& d) {
        EXPECT_EQ(d.windowTitle(), LoadResString(1604).arg(QStringLiteral("KS2")));
        EXPECT_TRUE(d.txtName->isReadOnly());
        EXPECT_EQ(d.txtMatch->text(), QStringLiteral("ks2"));
        EXPECT_FALSE(d.chkRules[2]->isChecked());
        EXPECT_EQ(d.cboRunLength->currentData().toInt(), 8);
        d.optEstimate->click();
        EXPECT_TRUE(d.txtTarget->isReadOnly());
        d.dtpFrom->setDate(QDate(2026, 12, 7));
        d.dtpTo->setDate(QDate(2026, 12, 15));
        f.ui.Clear();
        d.cmdEstimate->click();
        const QString few =
            LoadResString(1736).arg(18).arg(QStringLiteral("2026-12-07 – 2026-12-15"));
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{few});
        EXPECT_EQ(d.lblEstimate->text(), few);
        d.dtpTo->setDate(QDate(2026, 12, 31));
        d.chkValidFrom->setChecked(true);
        d.dtpValidFrom->setDate(QDate(2027, 1, 1));
        // The first Enter shows the estimate, the second takes it.
        QTest::keyClick(d.txtUnit, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.lblEstimate->text(),
                  LoadResString(1739).arg(n).arg(QStringLiteral("2026-12-07 – 2026-12-31")));
        EXPECT_NEAR(d.txtTarget->text().toDouble(), sum / n, 1e-9);
        QTest::keyClick(d.txtUnit, Qt::Key_Return);
    });
    window->cmdNewVersion->click();
    ASSERT_EQ(driver.Handled(), 2);
    ASSERT_EQ(window->grdVersions->rowCount(), 2);
    cells = versionCells(1);
    EXPECT_EQ(cells[0], QStringLiteral("2027-01-01"));
    EXPECT_NEAR(cells[1].toDouble(), sum / n, 1e-9);

    // Escape leaves without saving; an incomplete definition is refused and stays open.
    driver.Expect<frmQcDefine>([&](frmQcDefine& d) {
        d.txtName->setText(QStringLiteral("KS3"));
        f.ui.Clear();
        d.cmdOK->click();
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{LoadResString(1628)});
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    window->cmdNewControl->click();
    EXPECT_EQ(driver.Handled(), 3);
    EXPECT_EQ(window->lstControls->count(), 2);
    EXPECT_EQ(window->grdVersions->rowCount(), 2);
}

TEST_F(QualityControlWindow, TheArchiveWindowOpensTheOneWindowTheMenuOpens) {
    f.ShownItem("mnuArchive")->trigger();
    auto* archive = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_NE(archive, nullptr);
    archive->cmdQualityControl->click();
    const QList<frmQualityControl*> opened = f.main->findChildren<frmQualityControl*>();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0]->isVisible());
    EXPECT_EQ(opened[0]->lstControls->count(), 1);
    EXPECT_EQ(OpenWindow(), opened[0]);
    archive->cmdQualityControl->click();
    EXPECT_EQ(f.main->findChildren<frmQualityControl*>(), opened);
}

TEST_F(QualityControlWindow, TheReportIsAPdfOfTheChartThePointsTheViolationsAndTheSignature) {
    {
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(ArchiveSettings{}));
        QcControl control;
        control.name = QStringLiteral("KS2");
        control.matchText = QStringLiteral("KS2");
        QcVersion version;
        version.target = 5.0;
        version.sd = 0.015; // the values lie up to 0.05 away: beyond 3 s
        ASSERT_TRUE(QcStore(db).Define(control, version)) << db.Error().toStdString();
    }
    frmQualityControl* window = OpenWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->lstControls->count(), 2);
    window->lstControls->setCurrentRow(1);
    ASSERT_EQ(window->grdPoints->rowCount(), kKs2Points);
    int rejected = 0;
    for (const QcPoint& p : window->Judgement().points) {
        rejected += QcRules::IsRejection(p.flags) ? 1 : 0;
    }
    ASSERT_GT(rejected, 0);
    const QList<QAction*> entries = window->cmdReport->menu()->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[2]->objectName(), QStringLiteral("mnuReportExportPdf"));
    EXPECT_EQ(entries[2]->text(), LoadResString(1264));

    const QString pdf = dir.path() + QStringLiteral("/report.pdf");
    f.ui.dialogAnswers = {pdf};
    entries[2]->trigger();
    const QList<QStringList> pages = PdfPages(pdf);
    ASSERT_GE(pages.size(), 2);
    // Page 1: the heading and the chart (its scale in standard deviations), then the table.
    const QString first = pages[0].join(QLatin1Char('\n'));
    EXPECT_TRUE(first.contains(QStringLiteral("KS2"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("+3s"))) << first.toStdString();
    const QString all = PdfLines(pdf).join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("1-2s+1-3s"))) << all.toStdString();
    EXPECT_TRUE(all.contains(LoadResString(1634)));
    EXPECT_TRUE(all.contains(LoadResString(1649).arg(rejected))) << all.toStdString();
    EXPECT_TRUE(pages.last().join(QLatin1Char('\n')).contains(LoadResString(1612)));
    EXPECT_EQ(PdfTitle(pdf), LoadResString(1745) + QStringLiteral(" — KS2"));
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
