#include "data/DatasetGraph.h"

#include "app/AxisTicks.h"
#include "data/FieldNumber.h"
#include "data/RecordColumns.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"

#include <QMap>
#include <algorithm>
#include <array>
#include <numeric>
#include <span>
#include <vector>

namespace {

constexpr double kHalfHour = 1800.0;

// The photometers name the method of a record by program number and citation form; a
// turbidimeter measures one parameter, named by its unit.
QString SeriesName(std::span<const QStringView> fields, const RecordLayout& columns,
                   int unitColumn) {
    const bool programs = columns.Program() >= 0;
    QStringList parts;
    if (programs) {
        for (const int c : {columns.Program(), columns.Citation()}) {
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

// The points in time order, each keeping its record.
void SortByTime(GraphSeries& series) {
    std::vector<qsizetype> order(size_t(series.points.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return series.points[a].x() < series.points[b].x();
    });
    QList<QPointF> points;
    QList<int> rows;
    QList<bool> flagged;
    for (const qsizetype i : order) {
        points.append(series.points[i]);
        rows.append(series.rows[i]);
        flagged.append(series.flagged[i]);
    }
    series.points = points;
    series.rows = rows;
    series.flagged = flagged;
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
    return layout.record.Values();
}

DatasetGraph MakeDatasetGraph(const QString& strMVals, const ExportLayout& layout, int column) {
    QList<QStringView> lines;
    RecordWalker walker(strMVals);
    QStringView line;
    while (walker.NextLine(line)) {
        lines.append(line);
    }
    return MakeDatasetGraph(lines, layout, column);
}

DatasetGraph MakeDatasetGraph(std::span<const QStringView> lines, const ExportLayout& layout,
                              int column) {
    DatasetGraph graph;
    const RecordLayout& columns = layout.record;
    // Every column after the measurement's time may be drawn; the window offers the values.
    if (column <= columns.Time() || column >= columns.Count()) {
        return graph;
    }
    graph.title = layout.titles.value(column);
    const int unitColumn = columns.UnitOf(column);
    const int stateColumn = columns.StateOf(column);
    QMap<QString, GraphSeries> series;
    std::array<QStringView, kExportMaxColumns> views;
    const std::span<QStringView> fields(views.data(), size_t(columns.Count()));
    for (size_t row = 0; row < lines.size(); ++row) {
        SplitRecordLine(lines[row], fields);
        if (fields[column].trimmed().isEmpty()) {
            continue;
        }
        GraphSeries& s = series[SeriesName(fields, columns, unitColumn)];
        const std::optional<double> value = FieldNumber(fields[column], false);
        const std::optional<QDate> date = RecordDate(fields[columns.Date()].trimmed());
        const std::optional<QTime> time = RecordTime(fields[columns.Time()].trimmed());
        if (!value || !date || !time) {
            ++s.skipped;
            ++graph.skipped;
            continue;
        }
        s.points.append(QPointF(RecordClockSeconds(*date, *time), *value));
        s.rows.append(int(row));
        s.flagged.append(stateColumn >= 0 &&
                         ValueStateOf(fields[stateColumn]) == ValueState::Flagged);
        if (s.points.size() == 1 && unitColumn >= 0) {
            s.unit = fields[unitColumn].trimmed().toString();
        }
    }
    for (auto it = series.begin(); it != series.end(); ++it) {
        // A method without any point has nothing to draw; its records stay in `skipped`.
        if (it.value().points.isEmpty()) {
            continue;
        }
        GraphSeries s = it.value();
        s.name = it.key().isEmpty() ? graph.title : it.key();
        SortByTime(s);
        graph.series.append(s);
    }
    if (graph.series.isEmpty()) {
        return graph;
    }
    return PartOfGraph(graph, {});
}

DatasetGraph PartOfGraph(const DatasetGraph& graph, const QList<bool>& shown) {
    DatasetGraph part = graph;
    part.series.clear();
    part.flagged = 0;
    qsizetype skipped = 0;
    QStringList units;
    for (qsizetype i = 0; i < graph.series.size(); ++i) {
        if (shown.value(i, true)) {
            const GraphSeries& s = graph.series[i];
            part.series.append(s);
            part.flagged += s.FlaggedCount();
            skipped += s.skipped;
            if (!units.contains(s.unit)) {
                units.append(s.unit);
            }
        }
    }
    if (part.series.size() < graph.series.size()) {
        part.skipped = skipped;
    }
    part.unit = units.size() == 1 ? units[0] : QString();
    if (!part.IsEmpty()) {
        ScaleAxes(part);
    }
    return part;
}
