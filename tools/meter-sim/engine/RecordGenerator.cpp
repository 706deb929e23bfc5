#include "engine/RecordGenerator.h"

#include "app/Windows1252.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>
#include <random>

namespace {

// std::mt19937's sequence is fixed by the standard (the distributions are not), so all
// drawing goes through these two helpers.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : m_engine(seed) {}
    int Int(int low, int high) { return low + static_cast<int>(m_engine() % (high - low + 1)); }
    double Real(double low, double high) {
        return low + (high - low) * (m_engine() / 4294967296.0);
    }
    bool Chance(int percent) { return Int(1, 100) <= percent; }

private:
    std::mt19937 m_engine;
};

struct Method {
    const char* prog;
    const char* cit;
    const char* unit;
    double low;
    double high;
    int decimals;
    const char* cit2;
    const char* unit2;
    double factor2;
};

// Factory methods of a photometer and one user program; the second result is the same
// measurement cited in another form.
const Method kMethods[] = {
    {"310", "NO3-N", "mg/l", 0.5, 30.0, 1, "NO3", "mg/l", 4.427},
    {"320", "PO4-P", "mg/l", 0.05, 5.0, 2, "PO4", "mg/l", 3.066},
    {"330", "NH4-N", "mg/l", 0.02, 2.5, 2, "NH4", "mg/l", 1.288},
    {"340", "COD", "mg/l", 10.0, 1500.0, 0, "", "", 0.0},
    {"350", "Cl2", "mg/l", 0.02, 6.0, 2, "", "", 0.0},
    {"360", "Fe", "mg/l", 0.05, 4.0, 2, "", "", 0.0},
    {"370", "GH", "\u00b0dH", 1.0, 30.0, 1, "CaCO3", "mg/l", 17.848},
    {"905", "NO3", "mg/l", 0.5, 20.0, 1, "", "", 0.0},
};

const QString kDate = QStringLiteral("dd.MM.yy");
const QString kTime = QStringLiteral("HH:mm:ss");

QString Number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// The value within the measuring range and its status text; outside the range the meter
// shows the range limit and says on which side it was left.
QStringList Result(Draw& draw, double low, double high, int decimals) {
    const double value = draw.Real(low * 0.6, high * 1.08);
    if (value < low) {
        return {Number(low, decimals), QStringLiteral("< MR")};
    }
    if (value > high) {
        return {Number(high, decimals), QStringLiteral("> MR")};
    }
    return {Number(value, decimals), QStringLiteral("OK")};
}

QString PhotometerRecord(Draw& draw, int no, const QDateTime& when, const QDateTime& calibrated) {
    const Method& method = kMethods[draw.Int(0, static_cast<int>(std::size(kMethods)) - 1)];
    const QStringList first = Result(draw, method.low, method.high, method.decimals);
    QStringList second{QString(), QString(), QString()};
    if (method.factor2 > 0) {
        const double value = first[0].toDouble() * method.factor2;
        second = {Number(value, method.decimals), QString::fromUtf8(method.unit2), first[1]};
    }
    static const char* const markers[] = {"", "", "", "", "", "", "VB", "AR", "Cal"};
    static const char* const dilutions[] = {"1:1", "1:1", "1:1", "1:1", "1:2", "1:5", "1:10"};
    QStringList fields{QString::number(no),
                       when.toString(kDate),
                       when.toString(kTime),
                       QString::number(draw.Int(1, 999)),
                       QString::fromLatin1(method.prog),
                       QString::fromLatin1(method.cit),
                       QString::fromLatin1(markers[draw.Int(0, 8)]),
                       QString::fromLatin1(dilutions[draw.Int(0, 6)]),
                       first[0],
                       QString::fromUtf8(method.unit),
                       first[1]};
    fields << second << calibrated.toString(kDate) << calibrated.toString(kTime);
    return fields.join(QLatin1Char(';'));
}

QString TurbidityRecord(Draw& draw, const QString& model, int no, const QDateTime& when,
                        const QDateTime& calibrated) {
    static const char* const places[] = {"Inlet", "Basin", "Filter", "Outlet", "Tap", "Well"};
    // Ardel 60 meters take free-text sample names, Ardel 20 meters plain numbers.
    const QString place = QString::fromLatin1(places[draw.Int(0, 5)]);
    const int number = draw.Int(1, 999);
    const QString id = MeterModel::Of(model).family == MeterFamily::Ardel60
                           ? place + QLatin1Char(' ') + QString::number(number % 24 + 1)
                           : QString::number(number);
    // Infrared meters measure in FNU, white-light meters in NTU.
    const QString unit =
        model.endsWith(QLatin1String(" IR")) ? QStringLiteral("FNU") : QStringLiteral("NTU");
    // Clear water mostly, now and then a turbid sample beyond the range.
    const double value = draw.Chance(85) ? draw.Real(0.05, 4.0) : draw.Real(4.0, 1150.0);
    const bool over = value > 1100.0;
    const int decimals = value < 10.0 ? 2 : (value < 100.0 ? 1 : 0);
    static const char* const flags[] = {"Cal: OK", "Cal: OK", "Cal: OK", "CQA: OK", "CQA: Out"};
    return QStringList{QString::number(no),
                       when.toString(kDate),
                       when.toString(kTime),
                       id,
                       Number(over ? 1100.0 : value, decimals),
                       unit,
                       over ? QStringLiteral("> MR") : QStringLiteral("OK"),
                       QString::fromLatin1(flags[draw.Int(0, 4)]),
                       calibrated.toString(kDate),
                       calibrated.toString(kTime)}
        .join(QLatin1Char(';'));
}

} // namespace

QList<QByteArray> GenerateRecords(const QString& model, int count) {
    const MeterFamily family = MeterModel::Of(model).family;
    Draw draw(0x4d455256u + static_cast<std::uint32_t>(family));
    QDateTime when(QDate(2024, 1, 8), QTime(8, 12, 5));
    QDateTime calibrated(QDate(2024, 1, 5), QTime(7, 45, 30));
    QList<QByteArray> records;
    records.reserve(count);
    for (int no = 1; no <= count; ++no) {
        when = when.addSecs(draw.Int(40, 5400));
        if (draw.Chance(2)) {
            // Recalibrated now and then, shortly before the next measurement.
            calibrated = when.addSecs(-draw.Int(60, 900));
        }
        const QString record = family == MeterFamily::Photometer
                                   ? PhotometerRecord(draw, no, when, calibrated)
                                   : TurbidityRecord(draw, model, no, when, calibrated);
        records << Windows1252::Encode(record);
    }
    return records;
}

QList<QByteArray> RecordLines(const QByteArray& content) {
    if (content.isEmpty()) {
        return {};
    }
    QList<QByteArray> lines = content.split('\n');
    if (content.endsWith('\n')) {
        lines.removeLast();
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}
