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
    QString unit;          // the unit of the series' values
};

// What the document window's graph shows: one value column of the records against their
// date and time, one series per program or parameter, with the ticks of both axes.
struct DatasetGraph {
    QString title;             // the plotted column's title
    QString unit;              // the unit every series shares, empty when they differ
    QList<GraphSeries> series; // ordered by name
    qsizetype skipped = 0;     // records without a number in the column or without date and time
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
// ("<0.01", "----", "1,5", empty) or a record without a readable date and time leaves the
// record out and counts it in `skipped`. Without any point the graph is empty.
DatasetGraph MakeDatasetGraph(const QString& strMVals, const ExportLayout& layout, int column);
// The same over record lines (those the table shows, say); a point's row indexes `lines`.
DatasetGraph MakeDatasetGraph(std::span<const QStringView> lines, const ExportLayout& layout,
                              int column);

// The series of a graph that `shown` keeps (one flag per series), with the axes scaled to
// their values alone and their unit when they share one: a program read on its own scale.
DatasetGraph PartOfGraph(const DatasetGraph& graph, const QList<bool>& shown);
