#include "qc/QcJudge.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kOneSd = 10000; // z in ten-thousandths

std::optional<QcSkipped::Reason> WhyNoPoint(const QcRecord& r, const QDate& first) {
    using R = QcSkipped::Reason;
    if (!r.valid) {
        return R::Invalid;
    }
    if (!r.measuredAt || !r.measuredAt->date().isValid()) {
        return R::NoDate;
    }
    if (QStringView(r.state1).trimmed() != QLatin1String("OK")) {
        return R::NotOk;
    }
    if (!r.value1) {
        return R::NotANumber;
    }
    if (r.measuredAt->date() < first) {
        return R::BeforeFirstVersion;
    }
    return std::nullopt;
}

bool InPeriod(const QcRecord& r, const std::optional<QDate>& from, const std::optional<QDate>& to) {
    if (!r.measuredAt) {
        return true;
    }
    const QDate date = r.measuredAt->date();
    return (!from || date >= *from) && (!to || date <= *to);
}

// Where a point stands in its series: its instant, then its archive record id.
struct Order {
    std::pair<qint64, qint64> key;
    qsizetype index = 0; // into the records, or the points judged

    bool operator<(const Order& other) const { return key < other.key; }
};

std::pair<qint64, qint64> OrderOf(const QcRecord& r) {
    const QDateTime& at = r.instant ? *r.instant : *r.measuredAt;
    return {at.toMSecsSinceEpoch(), r.recordId};
}

} // namespace

bool QcJudgement::Rejected() const {
    return std::any_of(points.begin(), points.end(),
                       [](const QcPoint& p) { return QcRules::IsRejection(p.flags); });
}

std::vector<int> QcJudgement::CountsPerRule() const {
    std::vector<int> counts(QcRules::kRuleCount, 0);
    for (const QcPoint& p : points) {
        for (int i = 0; i < QcRules::kRuleCount; ++i) {
            counts[size_t(i)] += (p.flags & unsigned(QcRules::RuleAt(i))) != 0 ? 1 : 0;
        }
    }
    return counts;
}

QcEstimate QcJudge::Estimate(const QcControl& control, const QList<QcRecord>& records,
                             const QDate& from, const QDate& to) {
    // Welford's running mean and sum of squares: no cancellation for values far from 0.
    QcEstimate e;
    double m2 = 0.0;
    for (const QcRecord& r : records) {
        if (!control.Recognises(r) || WhyNoPoint(r, from) || !InPeriod(r, from, to)) {
            continue;
        }
        ++e.count;
        const double delta = *r.value1 - e.mean;
        e.mean += delta / e.count;
        m2 += delta * (*r.value1 - e.mean);
    }
    e.sd = e.count > 1 ? std::sqrt(m2 / (e.count - 1)) : 0.0;
    return e;
}

qint64 QcJudge::ZOf(double value, const QcVersion& version) {
    // A standard deviation of 0 is refused when a version is made; one read from a damaged
    // archive must not make an undefined number.
    const double raw = (value - version.target) / version.sd * double(kOneSd);
    const double q = std::isnan(raw) ? 0.0 : std::clamp(raw, -1e15, 1e15);
    // A half that the division left a hair below .5 still rounds away from zero.
    return std::llround(q + std::copysign(1e-9 * std::max(1.0, std::abs(q)), q));
}

unsigned QcJudge::Flags(const std::vector<qint64>& z, size_t i, const QcRules& rules) {
    // Whether this point and the previous n − 1 all lie beyond `limit` on one side.
    const auto run = [&](size_t n, qint64 limit) {
        if (i + 1 < n) {
            return false;
        }
        bool above = true;
        bool below = true;
        for (size_t k = i + 1 - n; k <= i; ++k) {
            above = above && z[k] > limit;
            below = below && z[k] < -limit;
        }
        return above || below;
    };
    const qint64 zi = z[i];
    unsigned flags = 0;
    const auto set = [&](QcRule rule, bool fired) { flags |= fired ? unsigned(rule) : 0u; };
    set(QcRule::OneTwoS, std::abs(zi) > 2 * kOneSd);
    set(QcRule::OneThreeS, std::abs(zi) > 3 * kOneSd);
    set(QcRule::TwoTwoS, run(2, 2 * kOneSd));
    set(QcRule::RFourS, i >= 1 && ((zi > 2 * kOneSd && z[i - 1] < -2 * kOneSd) ||
                                   (zi < -2 * kOneSd && z[i - 1] > 2 * kOneSd)));
    set(QcRule::FourOneS, run(4, kOneSd));
    set(QcRule::RunX, run(size_t(rules.runLength), 0));
    return flags & rules.mask;
}

QcJudgement QcJudge::Judge(const QcControl& control, const QList<QcRecord>& records,
                           std::optional<QDate> from, std::optional<QDate> to) {
    QcJudgement judgement;
    const QDate first = control.FirstDate();
    // Each meter's points by their order key, read once: instant, then record id.
    QMap<QString, std::vector<Order>> series;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QcRecord& r = records[i];
        if (!control.Recognises(r)) {
            continue;
        }
        if (const auto reason = WhyNoPoint(r, first)) {
            if (InPeriod(r, from, to)) {
                judgement.skipped.append(QcSkipped{r, *reason});
            }
            continue;
        }
        series[r.serial].push_back(Order{OrderOf(r), i});
    }
    // The points shown, by their place in time across the meters: judged per series, then
    // put in order by their keys (the points themselves are not moved about).
    std::vector<Order> shown;
    QList<QcPoint> judged;
    std::vector<qint64> z;
    for (std::vector<Order>& points : series) {
        std::sort(points.begin(), points.end());
        z.clear();
        z.reserve(points.size());
        for (const Order& at : points) {
            const QcRecord& r = records[at.index];
            const QDate date = r.measuredAt->date();
            const QcVersion* version = control.VersionAt(date);
            z.push_back(ZOf(*r.value1, *version));
            const unsigned flags = Flags(z, z.size() - 1, version->rules);
            if ((!from || date >= *from) && (!to || date <= *to)) {
                shown.push_back(Order{at.key, judged.size()});
                judged.append(QcPoint{r, double(z.back()) / kOneSd, flags, version});
            }
        }
    }
    std::sort(shown.begin(), shown.end());
    judgement.points.reserve(judged.size());
    for (const Order& at : shown) {
        judgement.points.append(std::move(judged[at.index]));
    }
    return judgement;
}
