#include "calibration/CalProtocolAnswer.h"

#include "app/TextTables.h"
#include "calibration/CalProtocolRecord.h"
#include "calibration/FieldText.h"
#include "meter/CCommunication.h"

namespace {

constexpr int kStandardTurbidityFields = 8;
constexpr int kFirstStandardField = 10;
constexpr int kFirstPointField = 15;
constexpr int kFieldsPerPoint = 3;

bool TakeExtendedTurbidity(const QStringList& f, CalProtocolRecord& r) {
    r.Mode = f[8];
    r.NumCalPoints = IntegerField(f[9]);
    if (r.NumCalPoints > CalProtocolRecord::kMaxStandards ||
        f.size() - kFirstStandardField < r.NumCalPoints) {
        return false;
    }
    for (int i = 0; i < r.NumCalPoints; ++i) {
        r.CalStds_FNUNTU[i] = f[kFirstStandardField + i];
    }
    return true;
}

bool TakePHPoints(const QStringList& f, CalProtocolRecord& r) {
    for (int i = 0; i < r.NumCalPoints; ++i) {
        const int first = kFirstPointField + kFieldsPerPoint * i;
        if (first + kFieldsPerPoint > f.size()) {
            return false;
        }
        r.PHValues[i] = f[first];
        r.VoltageValues_mV[i] = f[first + 1];
        r.TempValues_C[i] = f[first + 2];
    }
    return true;
}

} // namespace

std::optional<QStringList> ProtocolAnswerFields(const QString& answer) {
    if (!CCommunication::EndsWithOK(answer)) {
        return std::nullopt;
    }
    const qsizetype bodyLength = answer.size() - CCommunication::LenAnswerEnd - 2;
    return answer.mid(2, qMax<qsizetype>(bodyLength, 0)).split(QLatin1Char(','));
}

QString SensorQualityText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("-");
    case 2:
        return QStringLiteral("+");
    case 3:
        return QStringLiteral("++");
    case 4:
        return QStringLiteral("+++");
    case 5:
        return LoadResString(1228);
    default:
        return LoadResString(1033);
    }
}

void TakeDateAndTime(const QStringList& f, qsizetype first, CalProtocolRecord& r) {
    for (QString* part : {&r.Year, &r.Month, &r.Day, &r.Hour, &r.Min, &r.Sec}) {
        *part = f[first++];
    }
}

void SetStandardTurbidity(CalProtocolRecord& record) {
    record.Mode = QStringLiteral("3-P StdCAL");
    record.NumCalPoints = 3;
    record.CalStds_FNUNTU[0] = QStringLiteral("0.02");
    record.CalStds_FNUNTU[1] = QStringLiteral("10.0");
    record.CalStds_FNUNTU[2] = QStringLiteral("1000");
}

bool ParseTurbidityAnswer(const QString& answer, CalProtocolRecord& record) {
    const std::optional<QStringList> fields = ProtocolAnswerFields(answer);
    if (!fields || fields->size() < kStandardTurbidityFields ||
        fields->size() == kStandardTurbidityFields + 1) {
        return false;
    }
    const QStringList& f = *fields;
    record.IsPH = false;
    TakeDateAndTime(f, 1, record);
    record.Interval = f[7];
    if (f.size() == kStandardTurbidityFields) {
        SetStandardTurbidity(record);
        return true;
    }
    return TakeExtendedTurbidity(f, record);
}

bool ParsePHAnswer(const QString& answer, CalProtocolRecord& record) {
    const std::optional<QStringList> fields = ProtocolAnswerFields(answer);
    if (!fields) {
        return false;
    }
    const QStringList& f = *fields;
    if (f.size() != 16 && f.size() != 18 && f.size() != 21 && f.size() != 24) {
        return false;
    }
    record.IsPH = true;
    TakeDateAndTime(f, 1, record);
    // The short answer carries no usable mode.
    if (f.size() != 16) {
        record.Mode = IntegerField(f[7]) == 0 ? QStringLiteral("Calomat TBX")
                                              : QStringLiteral("Calomat NIST/DIN");
    }
    record.Slope = f[8];
    record.Asy = f[9];
    record.SensQuality = SensorQualityText(IntegerField(f[10]));
    record.Interval = f[11];
    record.ShowTempF = BooleanField(f[12]);
    record.ShowSlopePC = BooleanField(f[13]);
    record.NumCalPoints = IntegerField(f[14]);
    if (record.NumCalPoints > CalProtocolRecord::kMaxPHPoints) {
        return false;
    }
    return TakePHPoints(f, record);
}
