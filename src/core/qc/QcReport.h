#pragma once

#include "data/ReportContent.h"
#include "qc/QcJudge.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// A control's judged points as the Quality control window shows them and its report prints
// them: the table of points with their rule codes, the count per rule, and the printed
// report (the control's recognition and versions, the chart, the points, the summary of the
// violations with every rejected point listed, the signature block).
class QcReport {
public:
    // The titles of the table of points: meter, date and time, value, z, rules.
    static QStringList Titles();
    // A point's cells under those titles.
    static QStringList Cells(const QcPoint& point);
    // "12 points — 1-2s: 2 · 1-3s: 1", and on a line of its own how many of the control's
    // measurements are no points.
    static QString CountsText(const QcJudgement& judgement);
    // The report of `judgement` over the period from `from` to `to` (each open when
    // missing); `chart` draws the chart on the first page.
    static ReportContent Content(const QcControl& control, const QcJudgement& judgement,
                                 const std::optional<QDate>& from, const std::optional<QDate>& to,
                                 PageFigure chart);
};
