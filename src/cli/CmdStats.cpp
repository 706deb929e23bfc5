#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordColumns.h"
#include "data/RecordWalker.h"
#include "data/ValueStatistics.h"
#include "meter/CDevice.h"

#include <QTextStream>
#include <optional>

namespace {

// Scripts read the figures back: "." and enough digits to agree with any reader.
constexpr int kSignificantDigits = 10;

struct StatsOptions {
    QString file;
    int column = 0; // --column N, 1-based; 0: the first value column
    bool okOnly = false;
};

// IN.csv, then --column N and --ok-only in any order, each at most once.
std::optional<StatsOptions> ParseStats(const QStringList& args) {
    if (args.isEmpty()) {
        return std::nullopt;
    }
    StatsOptions options{args[0]};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--ok-only") && !options.okOnly) {
            options.okOnly = true;
        } else if (args[i] == QLatin1String("--column") && options.column == 0 &&
                   i + 1 < args.size()) {
            bool ok = false;
            options.column = args[++i].toInt(&ok);
            if (!ok || options.column < 1) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The chosen column (0-based), else the first value column; none outside the layout.
std::optional<int> ChosenColumn(const StatsOptions& options, const RecordLayout& columns) {
    if (options.column == 0) {
        const int first = columns.Value1();
        return first < 0 ? std::nullopt : std::optional<int>(first);
    }
    return options.column <= columns.Count() ? std::optional<int>(options.column - 1)
                                             : std::nullopt;
}

int RunStats(CliContext& ctx, const QStringList& args) {
    const std::optional<StatsOptions> options = ParseStats(args);
    if (!options) {
        return UsageError(ctx, QStringLiteral("stats"));
    }
    MValSet set;
    if (!ReadDatasetFile(ctx, options->file, set)) {
        return kExitFailure;
    }
    const ExportLayout layout = ExportLayoutFor(ctx.device(), set.strMeter);
    const RecordLayout& columns = layout.record;
    const std::optional<int> column = ChosenColumn(*options, columns);
    if (!column) {
        return UsageError(ctx, QStringLiteral("stats"));
    }
    QList<QStringView> lines;
    RecordWalker walker(set.strMVals);
    QStringView line;
    while (walker.NextLine(line)) {
        lines.append(line);
    }
    const QList<StatisticsRow> rows =
        ValueStatistics(lines, columns, *column, layout.titles.value(*column),
                        options->okOnly ? StatisticsValues::OkOnly : StatisticsValues::All);
    const QChar tab = QLatin1Char('\t');
    ctx.out << StatisticsTitles().join(tab) << "\n";
    for (const StatisticsRow& row : rows) {
        ctx.out << StatisticsFields(
                       row, [](double v) { return QString::number(v, 'g', kSignificantDigits); },
                       [](const QDateTime& t) {
                           return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                       })
                       .join(tab)
                << "\n";
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("stats"),
                           QStringLiteral("stats IN.csv [--column N] [--ok-only]\n"
                                          "    statistics of a value column (N as numbered in\n"
                                          "    the table, default the first value) per program\n"
                                          "    or unit, tab-separated; flagged values counted\n"
                                          "    apart, or left out with --ok-only"),
                           &RunStats});

} // namespace
