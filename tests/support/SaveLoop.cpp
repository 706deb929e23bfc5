#include "support/SaveLoop.h"

#include "app/Services.h"
#include "data/MValSet.h"

namespace {

// Large enough that writing and syncing a file takes a while even on a fast disk.
constexpr int kRecords = 100000;
constexpr int kWorkDirFill = 4 * 1024 * 1024;
constexpr int kTagDigits = 6;
const QByteArray kTagPrefix = QByteArrayLiteral("GEN-");

MValSet DatasetOf(int generation) {
    MValSet set;
    set.strMeter = QStringLiteral("Zentravox");
    set.strSerNo = SaveLoop::Tag(generation);
    set.strUser = QStringLiteral("Anaïs");
    set.curDate = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3));
    // Every generation has the same size: the tag has a fixed width.
    const QString tail = QStringLiteral(";07/12/26;09:05:03;%1;101;PO4;AR;1:1;0.42;µg/l;OK;;;;"
                                        "01/12/26;08:00")
                             .arg(SaveLoop::Tag(generation));
    QString& records = set.strMVals;
    records.reserve(qsizetype(kRecords) * (tail.size() + 8));
    for (int i = 1; i <= kRecords; ++i) {
        records += QStringLiteral("\r\n");
        records += QString::number(i);
        records += tail;
    }
    records += QStringLiteral("\r\n!\r\n>");
    return set;
}

} // namespace

namespace SaveLoop {

std::optional<Kind> KindNamed(const QString& name) {
    for (Kind kind : {Kind::Dataset, Kind::Config}) {
        if (KindName(kind) == name) {
            return kind;
        }
    }
    return std::nullopt;
}

QString KindName(Kind kind) {
    return kind == Kind::Dataset ? QStringLiteral("dataset") : QStringLiteral("config");
}

QString Tag(int generation) {
    return QString::fromLatin1(kTagPrefix) +
           QStringLiteral("%1").arg(generation, kTagDigits, 10, QLatin1Char('0'));
}

int GenerationOf(const QByteArray& fileBytes) {
    const qsizetype at = fileBytes.indexOf(kTagPrefix);
    if (at < 0) {
        return -1;
    }
    bool ok = false;
    const int generation = fileBytes.mid(at + kTagPrefix.size(), kTagDigits).toInt(&ok);
    return ok ? generation : -1;
}

QString WorkDirOf(int generation) {
    return QStringLiteral("/lab/Données/%1/").arg(Tag(generation)) +
           QString(kWorkDirFill, QLatin1Char('d'));
}

void Save(Services& services, Kind kind, const QString& target, int generation) {
    if (kind == Kind::Dataset) {
        services.measVal.SaveFile(DatasetOf(generation), target);
    } else {
        services.config.WorkDir(WorkDirOf(generation));
    }
}

} // namespace SaveLoop
