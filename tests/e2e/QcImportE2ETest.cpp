// Quality control at the end of a real import: a control defined from the command line, a
// meter whose memory holds a value 3.4 SD out, the banner in the window, `qc check` failing.

#include "DocumentEmulator.h"
#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "ui/qc/QcBanner.h"

#include <QPushButton>

namespace {

// The control "KS" 21 times about its target 2.00 (SD 0.1), then once at 2.34: +3.4 s.
QByteArray ControlMemory() {
    QByteArray lines;
    for (int i = 1; i <= 22; ++i) {
        const QByteArray value = i == 22 ? "2.34" : (i % 2 == 0 ? "2.05" : "1.95");
        lines += QByteArray::number(i) + ";" + QByteArray::number(i).rightJustified(2, '0') +
                 ".11.26;08:00:00;KS;303;PO4-P;;1:1;" + value + ";mg/l;OK;;;;01.11.26;07:00\n";
    }
    return lines;
}

class QcOverTheEmulator : public DocumentOverTheEmulator {
protected:
    QcOverTheEmulator() : DocumentOverTheEmulator({}, ControlMemory()) {
        m_home = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    }
    ~QcOverTheEmulator() override { qputenv("XDG_DATA_HOME", m_home); }

private:
    QByteArray m_home;
};

} // namespace

TEST_F(QcOverTheEmulator, AValueThreeSdOutShowsTheBannerAndFailsTheCheck) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    const CliResult defined =
        RunCli({QStringLiteral("qc"), QStringLiteral("define"), QStringLiteral("KS-PO4"),
                QStringLiteral("--id-equals"), QStringLiteral("KS"), QStringLiteral("--target"),
                QStringLiteral("2"), QStringLiteral("--sd"), QStringLiteral("0.1"),
                QStringLiteral("--valid-from"), QStringLiteral("2026-11-01")});
    ASSERT_EQ(defined.exitCode, 0) << defined.err.toStdString();

    Doc().MenuImport();
    ASSERT_EQ(Grid().rowCount(), 22);
    const QcBanner& banner = *Doc().fraQcBanner;
    ASSERT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.lblQcBanner->text(),
              LoadResString(1695).arg(QStringLiteral("KS-PO4"), QStringLiteral("1-3s"),
                                      LoadResString(1697).arg(QStringLiteral("+3s"))));
    EXPECT_TRUE(Grid().IsMarked(21));
    EXPECT_FALSE(Grid().IsMarked(20));

    const CliResult check =
        RunCli({QStringLiteral("qc"), QStringLiteral("check"), QStringLiteral("KS-PO4"),
                QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(check.exitCode, 1) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains(QStringLiteral("1-2s+1-3s"))) << check.out.toStdString();
}
