#pragma once

#include "qc/QcJudge.h"

#include <QDate>
#include <QList>
#include <QString>

// A control's target and standard deviation estimated from the points of a baseline period
// (every meter's), and whether they may be used: fewer than 20 points say too little about
// a control's spread, and an SD of 0 would make every z undefined.
struct QcBaseline {
    static constexpr int kFewestPoints = 20;

    QcEstimate estimate;
    QDate from, to;

    static QcBaseline Of(const QcControl& control, const QList<QcRecord>& records,
                         const QDate& from, const QDate& to);
    bool Accepted() const { return estimate.count >= kFewestPoints && estimate.sd > 0.0; }
    // Why the period is refused, or how many points of which period the values come from.
    QString Text() const;
};
