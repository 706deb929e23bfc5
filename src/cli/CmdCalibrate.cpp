#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalibration.h"
#include "calibration/CalibrationPlot.h"
#include "calibration/CalibrationText.h"
#include "cli/CliCommand.h"

#include <QTextStream>
#include <optional>

namespace {

// The editor has ten rows of pairs.
constexpr int kMaxPairs = 10;
constexpr int kMinPairs = 3;

struct Pairs {
    QList<double> x;
    QList<double> y;
};

std::optional<double> ParseNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok); // always "." as decimal separator
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<Pairs> ParsePairs(const QStringList& args) {
    Pairs pairs;
    for (const QString& arg : args) {
        const QStringList parts = arg.split(QLatin1Char(';'));
        if (parts.size() != 2) {
            return std::nullopt;
        }
        const auto x = ParseNumber(parts[0]);
        const auto y = ParseNumber(parts[1]);
        if (!x || !y) {
            return std::nullopt;
        }
        pairs.x.append(*x);
        pairs.y.append(*y);
    }
    return pairs;
}

struct Results {
    double a0 = 0, a1 = 0, ym = 0, xm = 0, sx0 = 0, vx0 = 0, xn = 0, xb = 0;
};

void PrintResults(QTextStream& out, const Results& r, qsizetype n) {
    out << "A0=" << FormatScientific(r.a0) << "\n"
        << "A1=" << FormatScientific(r.a1) << "\n"
        << "YQ=" << FormatScientific(r.ym) << "\n"
        << "XQ=" << FormatScientific(r.xm) << "\n"
        << "N=" << n << "\n"
        << "SX0=" << FormatScientific(r.sx0) << "\n"
        << "VX0=" << FormatOneDecimal(r.vx0) << "\n"
        << "XN=" << FormatScientific(r.xn) << "\n"
        << "XB=" << FormatScientific(r.xb) << "\n";
    out.flush();
}

int Fail(Ui& ui, int message, int title, MsgIcon icon) {
    ui.Message(LoadResString(message), LoadResString(title), icon);
    return kExitFailure;
}

int RunCalibrate(CliContext& ctx, const QStringList& args) {
    const auto pairs = ParsePairs(args);
    if (!pairs || pairs->x.size() > kMaxPairs) {
        return UsageError(ctx, QStringLiteral("calibrate"));
    }
    Ui& ui = ctx.ui();
    const auto n = static_cast<short>(pairs->x.size());
    if (n < kMinPairs) {
        return Fail(ui, 1143, 1115, MsgIcon::Warning);
    }
    Results r;
    if (!ctx.calibration().Calculate(r.a0, r.a1, r.ym, r.xm, r.sx0, r.vx0, r.xn, r.xb, pairs->x,
                                     pairs->y, n)) {
        return Fail(ui, 1144, 1033, MsgIcon::Critical);
    }
    PrintResults(ctx.out, r, n);
    CalibrationPlot plot;
    if (!MakeCalibrationPlot(ctx.math(), pairs->x, pairs->y, n, r.a0, r.a1, plot)) {
        return Fail(ui, 1145, 1033, MsgIcon::Critical);
    }
    return kExitOk;
}

const CliRegistration
    reg({QStringLiteral("calibrate"),
         QStringLiteral("calibrate X;Y X;Y ...            "
                        "calibration line of up to 10 pairs (concentration;extinction)"),
         &RunCalibrate});

} // namespace
