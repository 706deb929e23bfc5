#pragma once

#include "data/ExportSheet.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

// One line of the dataset graph: the records of one program or parameter.
struct GraphSeries {
    QString name;          // "320 PO4-P [mg/l]" for a photometer program, "FNU" for a turbidimeter
    QList<QPointF> points; // x: RecordClockSeconds of the record, y: its value; in time order
    QList<int> rows;       // the record of each point: its index among the graphed lines
    QList<bool> flagged;   // each point's value is flagged (a state other than "OK")
    QString unit;          // the unit of the series' values
    qsizetype skipped = 0; // its records left out: no number in the column, or no date

    qsizetype FlaggedCount() const { return flagged.count(true); }
};

// What the document window's graph shows: one value column of the records against their
// date and time, one series per program or parameter, with the ticks of both axes.
struct DatasetGraph {
    QString title;             // the plotted column's title
    QString unit;              // the unit every series shares, empty when they differ
    QList<GraphSeries> series; // ordered by name
    // Records of the series shown left out (no number in the column, or no date and time),
    // and flagged points among those shown. With every series shown, `skipped` also counts
    // the records of methods that have no point at all.
    qsizetype skipped = 0;
    qsizetype flagged = 0;
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    QList<double> xTicks;
    double xStep = 0.0;
    QStringList xLabels;
    QList<double> yTicks;

    bool IsEmpty() const { return series.isEmpty(); }
};

// The columns a graph can show (0-based): those of the real-number kind (the measured
// values); the first of them is the default.
QList<int> GraphColumns(const ExportLayout& layout);

// The graph of `column` (0-based) over the records of `strMVals`. A field that is no number
// ("<0.01", "----", "1,5") or a record without a readable date and time leaves the record
// out and counts it in `skipped`; an empty field is no value and counts nowhere. A value
// whose state is other than "OK" is a point, flagged. Without any point the graph is empty.
DatasetGraph MakeDatasetGraph(const QString& strMVals, const ExportLayout& layout, int column);
// The same over record lines (those the table shows, say); a point's row indexes `lines`.
DatasetGraph MakeDatasetGraph(std::span<const QStringView> lines, const ExportLayout& layout,
                              int column);

// The series of a graph that `shown` keeps (one flag per series; missing flags keep theirs),
// with the axes scaled to their values alone, their unit when they share one and the counts
// of their records: a program read on its own scale.
DatasetGraph PartOfGraph(const DatasetGraph& graph, const QList<bool>& shown);
