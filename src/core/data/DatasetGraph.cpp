#include "data/DatasetGraph.h"

#include "app/AxisTicks.h"
#include "data/FieldNumber.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "meter/ColumnKind.h"

#include <QMap>
#include <algorithm>
#include <array>
#include <span>

namespace {

// Every table layout starts with the record number, its date and its time.
constexpr int kDateColumn = 1;
constexpr int kTimeColumn = 2;
// The photometers' layout names the method of a record by program number and citation
// form; a turbidimeter measures one parameter, named by its unit.
constexpr int kProgramColumn = 4;
constexpr int kCitationColumn = 5;
constexpr double kHalfHour = 1800.0;

bool HasProgramColumns(const ExportLayout& layout) {
    return layout.count > kCitationColumn &&
           layout.titles.value(kProgramColumn) == QLatin1String("PROG");
}

// The unit of a value stands in the text column right of it.
int UnitColumn(const ExportLayout& layout, int column) {
    return column + 1 < layout.count && layout.kinds.value(column + 1) == kTextColumn ? column + 1
                                                                                      : -1;
}

QString SeriesName(std::span<const QStringView> fields, bool programs, int unitColumn) {
    QStringList parts;
    if (programs) {
        for (const int c : {kProgramColumn, kCitationColumn}) {
            if (!fields[c].trimmed().isEmpty()) {
                parts.append(fields[c].trimmed().toString());
            }
        }
    }
    const QString unit = unitColumn >= 0 ? fields[unitColumn].trimmed().toString() : QString();
    if (!unit.isEmpty()) {
        parts.append(programs ? QStringLiteral("[%1]").arg(unit) : unit);
    }
    return parts.join(QLatin1Char(' '));
}

void ScaleAxes(DatasetGraph& graph) {
    double xLow = graph.series[0].points[0].x();
    double xHigh = xLow;
    double yLow = 0.0; // measured amounts read best against a zero line
    double yHigh = 0.0;
    for (const GraphSeries& s : graph.series) {
        for (const QPointF& p : s.points) {
            xLow = std::min(xLow, p.x());
            xHigh = std::max(xHigh, p.x());
            yLow = std::min(yLow, p.y());
            yHigh = std::max(yHigh, p.y());
        }
    }
    if (xHigh == xLow) {
        xLow -= kHalfHour;
        xHigh += kHalfHour;
    }
    if (yHigh == yLow) {
        yHigh = yLow + 1.0;
    }
    const TimeTicks time = ChooseTimeTicks(xLow, xHigh);
    graph.xTicks = time.ticks;
    graph.xStep = time.step;
    graph.xLabels = TimeTickLabels(time.ticks, time.step);
    graph.yTicks = RoundTicks(yLow, yHigh);
    graph.xMin = graph.xTicks.front();
    graph.xMax = graph.xTicks.back();
    graph.yMin = graph.yTicks.front();
    graph.yMax = graph.yTicks.back();
}

} // namespace

QList<int> GraphColumns(const ExportLayout& layout) {
    QList<int> columns;
    for (int c = 0; c < layout.count; ++c) {
        if (layout.kinds.value(c) == kDecimalColumn) {
            columns.append(c);
        }
    }
    return columns;
}

DatasetGraph MakeDatasetGraph(const QString& strMVals, const ExportLayout& layout, int column) {
    DatasetGraph graph;
    if (column <= kTimeColumn || column >= layout.count || layout.count > kExportMaxColumns) {
        return graph;
    }
    graph.title = layout.titles.value(column);
    const bool programs = HasProgramColumns(layout);
    const int unitColumn = UnitColumn(layout, column);
    QMap<QString, QList<QPointF>> points;
    QStringList units;
    RecordWalker walker(strMVals);
    std::array<QStringView, kExportMaxColumns> views;
    const std::span<QStringView> fields(views.data(), size_t(layout.count));
    QStringView line;
    while (walker.NextLine(line)) {
        SplitRecordLine(line, fields);
        const std::optional<double> value = FieldNumber(fields[column], false);
        const std::optional<QDate> date = RecordDate(fields[kDateColumn].trimmed());
        const std::optional<QTime> time = RecordTime(fields[kTimeColumn].trimmed());
        if (!value || !date || !time) {
            ++graph.skipped;
            continue;
        }
        points[SeriesName(fields, programs, unitColumn)].append(
            QPointF(RecordClockSeconds(*date, *time), *value));
        const QString unit = unitColumn >= 0 ? fields[unitColumn].trimmed().toString() : QString();
        if (!units.contains(unit)) {
            units.append(unit);
        }
    }
    if (points.isEmpty()) {
        return graph;
    }
    for (auto it = points.begin(); it != points.end(); ++it) {
        GraphSeries series{it.key().isEmpty() ? graph.title : it.key(), it.value()};
        std::stable_sort(series.points.begin(), series.points.end(),
                         [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
        graph.series.append(series);
    }
    graph.unit = units.size() == 1 ? units[0] : QString();
    ScaleAxes(graph);
    return graph;
}
