#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordColumns.h"
#include "data/RecordWalker.h"
#include "data/ValueStatistics.h"

#include <QTextStream>

namespace {

// Scripts read the figures back: "." and enough digits to agree with any reader.
constexpr int kSignificantDigits = 10;

// The column given by --column N (1-based, as numbered in the table), else the first value.
std::optional<int> ChosenColumn(const QStringList& args, const RecordColumns& columns) {
    if (args.size() == 1) {
        return columns.values.isEmpty() ? std::nullopt : std::optional<int>(columns.values[0]);
    }
    bool ok = false;
    const int n = args[2].toInt(&ok);
    if (args.size() != 3 || args[1] != QLatin1String("--column") || !ok || n < 1 ||
        n > columns.count) {
        return std::nullopt;
    }
    return n - 1;
}

int RunStats(CliContext& ctx, const QStringList& args) {
    if (args.size() != 1 && args.size() != 3) {
        return UsageError(ctx, QStringLiteral("stats"));
    }
    Services& services = ctx.services();
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    const ExportLayout layout = ExportLayoutFor(services, set.strMeter);
    const RecordColumns columns = RecordColumnsOf(layout);
    const std::optional<int> column = ChosenColumn(args, columns);
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
        ValueStatistics(lines, columns, *column, layout.titles.value(*column));
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
                           QStringLiteral("stats IN.csv [--column N]   statistics of a value "
                                          "column (N as numbered in the table, default the "
                                          "first value) per program or unit, tab-separated"),
                           &RunStats});

} // namespace
