#include "qc/QcReport.h"

#include "app/TextTables.h"

namespace {

const QString kShownTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

const QString kDash = QStringLiteral(" \u2014 ");
const QString kDot = QStringLiteral(" \u00b7 ");

QString Number(double value) {
    return QString::number(value, 'g', 10);
}

QString DayText(const std::optional<QDate>& day) {
    return day ? day->toString(Qt::ISODate) : QString();
}

// The period asked for, or the days of the first and last points shown.
QString PeriodText(const QcJudgement& judgement, std::optional<QDate> from,
                   std::optional<QDate> to) {
    if (!judgement.points.isEmpty()) {
        from = from.value_or(judgement.points.first().record.measuredAt->date());
        to = to.value_or(judgement.points.last().record.measuredAt->date());
    }
    if (!from && !to) {
        return QStringLiteral("\u2014");
    }
    return DayText(from) + QStringLiteral(" \u2013 ") + DayText(to);
}

QList<ReportField> Recognition(const QcControl& control) {
    const QString none = QStringLiteral("\u2014");
    return {{LoadResString(1076), control.program ? QString::number(*control.program) : none},
            {LoadResString(1085), control.citation.isEmpty() ? none : control.citation},
            {LoadResString(control.match == QcControl::Match::Prefix ? 1607 : 1606),
             control.matchText}};
}

QList<ReportField> VersionLines(const QcControl& control) {
    QList<ReportField> lines;
    for (const QcVersion& v : control.versions) {
        const QString made = v.createdAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const QString sd = (Number(v.sd) + QLatin1Char(' ') + v.unit).trimmed();
        lines << ReportField{LoadResString(1633).arg(v.validFrom.toString(Qt::ISODate),
                                                     Number(v.target), sd, v.rules.Text(),
                                                     v.createdBy, made),
                             QString()};
    }
    return lines;
}

QStringList Summary(const QcJudgement& judgement) {
    QStringList lines{LoadResString(1634)};
    lines << QcReport::CountsText(judgement).split(QLatin1Char('\n'));
    QStringList rejected;
    for (const QcPoint& p : judgement.points) {
        if (QcRules::IsRejection(p.flags)) {
            rejected << QcReport::Cells(p).join(kDot);
        }
    }
    lines << LoadResString(1649).arg(rejected.size()) << rejected;
    if (!judgement.skipped.isEmpty()) {
        lines << LoadResString(1907) << QcReport::SkippedLines(judgement);
    }
    return lines;
}

QString Why(const QcSkipped& skipped) {
    using R = QcSkipped::Reason;
    const QcRecord& r = skipped.record;
    switch (skipped.reason) {
    case R::NotOk:
        return r.state1.trimmed().isEmpty() ? LoadResString(1901)
                                            : LoadResString(1900).arg(r.state1.trimmed());
    case R::NotANumber:
        return LoadResString(1902).arg(r.value1Text.trimmed());
    case R::NoDate:
        return LoadResString(1903);
    case R::BeforeFirstVersion:
        return LoadResString(1904);
    case R::Invalid:
        break;
    }
    return r.invalidReason.isEmpty() ? LoadResString(1905)
                                     : LoadResString(1834).arg(r.invalidReason);
}

} // namespace

QStringList QcReport::SkippedLines(const QcJudgement& judgement) {
    QStringList lines;
    for (const QcSkipped& skipped : judgement.skipped) {
        const std::optional<QDateTime>& at = skipped.record.measuredAt;
        lines << LoadResString(1906)
                     .arg(skipped.record.recordId)
                     .arg(at ? at->toString(kShownTime) : QStringLiteral("\u2014"), Why(skipped));
    }
    return lines;
}

QStringList QcReport::Titles() {
    QStringList titles;
    for (const int title : {1662, 1302, 1621, 1757, 1752}) {
        titles << LoadResString(title);
    }
    return titles;
}

QStringList QcReport::Cells(const QcPoint& point) {
    const QcRecord& r = point.record;
    return {r.serial, r.measuredAt ? r.measuredAt->toString(kShownTime) : QString(), r.value1Text,
            QString::number(point.z, 'f', 4),
            point.version ? point.version->rules.Codes(point.flags).join(QLatin1Char('+'))
                          : QString()};
}

QString QcReport::CountsText(const QcJudgement& judgement) {
    QStringList counts;
    const std::vector<int> perRule = judgement.CountsPerRule();
    // The run's length is the latest version's: the code names it ("10x").
    const QcRules rules = judgement.points.isEmpty() || !judgement.points.last().version
                              ? QcRules()
                              : judgement.points.last().version->rules;
    for (int i = 0; i < QcRules::kRuleCount; ++i) {
        if (perRule[size_t(i)] > 0) {
            counts << QStringLiteral("%1: %2")
                          .arg(rules.Codes(unsigned(QcRules::RuleAt(i))).value(0))
                          .arg(perRule[size_t(i)]);
        }
    }
    QString text = LoadResString(1758)
                       .arg(judgement.points.size())
                       .arg(counts.isEmpty() ? QStringLiteral("\u2014") : counts.join(kDot));
    if (!judgement.skipped.isEmpty()) {
        text += QLatin1Char('\n') + LoadResString(1759).arg(judgement.skipped.size());
    }
    return text;
}

ReportContent QcReport::Content(const QcControl& control, const QcJudgement& judgement,
                                const std::optional<QDate>& from, const std::optional<QDate>& to,
                                PageFigure chart) {
    ReportContent content;
    content.heading = LoadResString(1745) + kDash + control.name;
    content.documentTitle = content.heading;
    content.header << ReportField{LoadResString(1641), PeriodText(judgement, from, to), true}
                   << Recognition(control);
    content.details = VersionLines(control);
    for (const QString& title : Titles()) {
        content.columns << ReportColumn{title, false};
    }
    content.columns[2].alignRight = true;
    content.columns[3].alignRight = true;
    for (const QcPoint& p : judgement.points) {
        content.rows << Cells(p);
    }
    content.figure = std::move(chart);
    content.closing = Summary(judgement);
    return content;
}
