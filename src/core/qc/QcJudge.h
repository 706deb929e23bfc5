#pragma once

#include "qc/QcControl.h"

#include <QList>
#include <optional>
#include <vector>

// A control's measurement that is a point of its series, judged.
struct QcPoint {
    QcRecord record;
    double z = 0.0;     // rounded to 4 decimals, half away from zero
    unsigned flags = 0; // the QcRule bits that fired at this point
    const QcVersion* version = nullptr;
};

// A measurement of the control that is no point, and why.
struct QcSkipped {
    enum class Reason { NotOk, NotANumber, NoDate, BeforeFirstVersion, Invalid };
    QcRecord record;
    Reason reason = Reason::NotOk;
};

struct QcJudgement {
    QList<QcPoint> points;    // in the period, ordered by instant, then record id
    QList<QcSkipped> skipped; // in the period (or without a date)

    bool Rejected() const;
    // How many points each rule flagged, in the fixed order of QcRules::Codes.
    std::vector<int> CountsPerRule() const;
};

// A target and standard deviation estimated from a period's points (all meters).
struct QcEstimate {
    int count = 0;
    double mean = 0.0;
    double sd = 0.0; // the sample standard deviation (n − 1)
};

// Judges a control's series by the Westgard rules. Pure: the records come from the archive,
// nothing is read or written here. Every earlier point of a series counts, also those before
// the period asked for; only the points inside it are returned.
class QcJudge {
public:
    static QcJudgement Judge(const QcControl& control, const QList<QcRecord>& records,
                             std::optional<QDate> from = std::nullopt,
                             std::optional<QDate> to = std::nullopt);
    // The mean and sample SD of the control's points measured from `from` to `to`; the
    // caller refuses fewer than 20 points or an SD of 0.
    static QcEstimate Estimate(const QcControl& control, const QList<QcRecord>& records,
                               const QDate& from, const QDate& to);
    // z in ten-thousandths: (value − target) / sd rounded half away from zero, so that every
    // comparison is exact.
    static qint64 ZOf(double value, const QcVersion& version);
    // The rules that fire at point `i` of a series whose rounded z are `z`.
    static unsigned Flags(const std::vector<qint64>& z, size_t i, const QcRules& rules);
};
