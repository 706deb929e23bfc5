#include "support/SaveLoop.h"

#include "app/Services.h"
#include "data/MValSet.h"
#include "programs/ProgramRecord.h"
#include "support/ScriptedMeterLink.h"

namespace {

// Large enough that writing and syncing a file takes a while even on a fast disk.
constexpr int kRecords = 100000;
constexpr int kFill = 4 * 1024 * 1024;
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

// A program whose formula text is very long: the file format takes any text.
ProgramRecord ProgramOf(int generation) {
    using namespace ProgramField;
    ProgramRecord program = EmptyProgramRecord();
    const QStringList fields = {
        SaveLoop::ProgramNumber(), "Nit1", "16", "436", "0.0", "2.0", "0.0", "1.0", "0.01"};
    for (int i = 0; i < fields.size(); ++i) {
        program[i] = fields[i];
    }
    program[FORM] = SaveLoop::Tag(generation) + QString(kFill, QLatin1Char('f'));
    program[UNIT] = QStringLiteral("µg/l");
    program[USER] = QStringLiteral("Anaïs");
    for (int i = 0; i < kNumPairs; ++i) {
        program[PairX(i)] = QString::number(i * 0.5);
        program[PairY(i)] = QString::number(i * 0.125);
    }
    program[BLANKREQ] = QStringLiteral("0");
    program[CALPSB] = QStringLiteral("1");
    program[CALREQ] = QStringLiteral("0");
    return program;
}

const QList<std::pair<SaveLoop::Kind, QString>> kKindNames = {
    {SaveLoop::Kind::Dataset, QStringLiteral("dataset")},
    {SaveLoop::Kind::Config, QStringLiteral("config")},
    {SaveLoop::Kind::Program, QStringLiteral("program")},
    {SaveLoop::Kind::Protocol, QStringLiteral("protocol")}};

// The meter's last turbidity protocol with very long lot data of its standards.
bool SaveProtocol(Services& services, const QString& target, int generation) {
    CCalProtocol& protocol = services.calProtocol;
    if (!protocol.IsProtocolValid()) {
        services.device.Online(true);
        if (!protocol.UpdateFromMeter(false, false)) {
            return false;
        }
    }
    protocol.SetChargeID(
        SaveLoop::Tag(generation) + QString(kFill, QLatin1Char('l')), QStringLiteral("12/2027"),
        QStringLiteral("Étalons & Cie"),
        {QStringLiteral("L-0.02"), QStringLiteral("L-10"), QStringLiteral("L-1000")});
    return protocol.SaveToFile(target);
}

} // namespace

namespace SaveLoop {

std::optional<Kind> KindNamed(const QString& name) {
    for (const auto& [kind, kindName] : kKindNames) {
        if (kindName == name) {
            return kind;
        }
    }
    return std::nullopt;
}

QString KindName(Kind kind) {
    for (const auto& [known, kindName] : kKindNames) {
        if (known == kind) {
            return kindName;
        }
    }
    return QString();
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
           QString(kFill, QLatin1Char('d'));
}

std::unique_ptr<MeterLink> Link() {
    auto link = std::make_unique<ScriptedMeterLink>();
    link->ScriptOk(QStringLiteral("U.400\r\n"), QString());
    link->ScriptOk(QStringLiteral("U.585\r\n"), QStringLiteral("585,2024,3,12,9,5,40,30"));
    return link;
}

QString ProgramNumber() {
    return QStringLiteral("905");
}

bool Save(Services& services, Kind kind, const QString& target, int generation) {
    switch (kind) {
    case Kind::Dataset:
        return services.measVal.SaveFile(DatasetOf(generation), target);
    case Kind::Config:
        // Its failure shows as a message only.
        services.config.WorkDir(WorkDirOf(generation));
        return true;
    case Kind::Program:
        return services.usrDefProg.SaveToFile(ProgramOf(generation), target);
    case Kind::Protocol:
        return SaveProtocol(services, target, generation);
    }
    return false;
}

} // namespace SaveLoop
