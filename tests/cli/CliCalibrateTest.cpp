#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

CliResult Calibrate(const QStringList& pairs) {
    return RunCli(QStringList{QStringLiteral("calibrate")} + pairs);
}

} // namespace

TEST(CliCalibrate, PrintsTheLineInTheEditorsFormats) {
    const CliResult r = Calibrate({"0;0.010", "1;0.205", "2;0.390", "3;0.610", "4;0.800"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("A0=6.000E-03\nA1=1.985E-01\nYQ=4.030E-01\nXQ=2.000E+00\n"
                                    "N=5\nSX0=4.667E-02\nVX0=2.3\nXN=3.675E-01\nXB=5.474E-01\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliCalibrate, FailuresGiveTheEditorsMessages) {
    const CliResult few = Calibrate({"1;0.1", "2;0.2"});
    EXPECT_EQ(few.exitCode, 1);
    EXPECT_EQ(few.err, QStringLiteral("Entrer au moins 3 couples de valeurs, svp!\n"));
    EXPECT_TRUE(few.out.isEmpty());

    const CliResult flat = Calibrate({"1;0.5", "2;0.5", "3;0.5"});
    EXPECT_EQ(flat.exitCode, 1);
    EXPECT_EQ(flat.err, QStringLiteral("Erreur de calcul!\n"));

    // The mean concentration of 0 is a fault: the trap's description, then the editor's.
    const CliResult zeroMean = Calibrate({"-1;0.1", "0;0.25", "1;0.3"});
    EXPECT_EQ(zeroMean.exitCode, 1);
    EXPECT_EQ(zeroMean.err, QStringLiteral("Division par zéro\nErreur de calcul!\n"));

    // No positive concentration: the line is computed but cannot be plotted.
    const CliResult unplottable = Calibrate({"0;0.3", "-1;0.2", "-2;0.1"});
    EXPECT_EQ(unplottable.exitCode, 1);
    EXPECT_TRUE(unplottable.out.startsWith(QStringLiteral("A0=3.000E-01\nA1=1.000E-01\n")));
    EXPECT_EQ(unplottable.err, QStringLiteral("Erreur de courbe de calibration!\n"));
}

TEST(CliCalibrate, MalformedPairsAreUsageErrors) {
    for (const QStringList& args :
         {QStringList{"1,5;0.1", "2;0.2", "3;0.3"}, QStringList{"1;0.1;7", "2;0.2", "3;0.3"},
          QStringList{"1;", "2;0.2", "3;0.3"}, QStringList{"a;b", "2;0.2", "3;0.3"}}) {
        const CliResult r = Calibrate(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("usage: mervex-cli calibrate")));
    }
    QStringList eleven;
    for (int i = 1; i <= 11; ++i) {
        eleven << QStringLiteral("%1;%2").arg(i).arg(i * 0.1);
    }
    EXPECT_EQ(Calibrate(eleven).exitCode, 2);
}
