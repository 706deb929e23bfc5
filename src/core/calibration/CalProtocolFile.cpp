#include "calibration/CalProtocolFile.h"

#include "app/CCSVFile.h"
#include "app/Errors.h"
#include "calibration/CalProtocolAnswer.h"
#include "calibration/CalProtocolRecord.h"
#include "calibration/FieldText.h"

#include <QFileInfo>
#include <QStringList>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kSeparator = QStringLiteral(";");
const QString kHeader1 = QStringLiteral("METER;SERNO;USER;PH");
const QString kHeader3 =
    QStringLiteral("YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC");
const QString kHeader5 = QStringLiteral("CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3");
const QString kHeader7 = QStringLiteral("LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5");
const QString kHeader9 = QStringLiteral("CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5");

constexpr int kMaxLines = 10;
constexpr int kMinLines = 6;
constexpr int kLotFields = 8;
constexpr int kMinLotFields = 6;
constexpr int kTurbidityFields = 6;

// A field must not break the file apart: its separators become "," and line breaks
// blanks, so that the file reads back.
QString FileField(QString text) {
    text.replace(QLatin1Char(';'), QLatin1Char(','));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString FieldLine(const QStringList& fields) {
    QStringList cleaned;
    cleaned.reserve(fields.size());
    for (const QString& field : fields) {
        cleaned << FileField(field);
    }
    return cleaned.join(kSeparator);
}

QString PointsLine(const CalProtocolRecord& r) {
    QStringList fields{QString::number(r.NumCalPoints)};
    for (int i = 0; i < CalProtocolRecord::kMaxPHPoints; ++i) {
        fields << r.PHValues[i] << r.VoltageValues_mV[i] << r.TempValues_C[i];
    }
    return FieldLine(fields);
}

QString LotLine(const CalProtocolRecord& r) {
    QStringList fields{r.LOTTotal, r.Expiry, r.Manufacturer};
    for (const QString& lot : r.LOTStds) {
        fields << lot;
    }
    return FieldLine(fields);
}

QString StandardsLine(const CalProtocolRecord& r) {
    QStringList fields{QString::number(r.NumCalPoints)};
    for (const QString& standard : r.CalStds_FNUNTU) {
        fields << standard;
    }
    return FieldLine(fields);
}

bool ReadHeaderLine(const QString& line, CalProtocolRecord& r) {
    const QStringList f = FieldsAtMost(line, kSeparator, 4);
    if (f.size() != 4) {
        return false;
    }
    r.Meter = f[0];
    r.SerNo = f[1];
    r.User = f[2];
    r.IsPH = BooleanField(f[3]);
    return true;
}

bool ReadProtocolLine(const QString& line, CalProtocolRecord& r) {
    const QStringList f = FieldsAtMost(line, kSeparator, 13);
    if (f.size() != 13) {
        return false;
    }
    TakeDateAndTime(f, 0, r);
    r.Interval = f[6];
    r.Mode = f[7];
    r.Slope = f[8];
    r.Asy = f[9];
    r.SensQuality = f[10];
    r.ShowTempF = BooleanField(f[11]);
    r.ShowSlopePC = BooleanField(f[12]);
    return true;
}

bool ReadPointsLine(const QString& line, CalProtocolRecord& r) {
    const QStringList f = FieldsAtMost(line, kSeparator, 10);
    if (f.size() != 10) {
        return false;
    }
    r.NumCalPoints = IntegerField(f[0]);
    for (int i = 0; i < CalProtocolRecord::kMaxPHPoints; ++i) {
        r.PHValues[i] = f[1 + 3 * i];
        r.VoltageValues_mV[i] = f[2 + 3 * i];
        r.TempValues_C[i] = f[3 + 3 * i];
    }
    return true;
}

bool ReadLotLine(const QString& line, CalProtocolRecord& r) {
    const QStringList f = FieldsAtMost(line, kSeparator, kLotFields);
    if (f.size() < kMinLotFields) {
        return false;
    }
    r.LOTTotal = f[0];
    r.Expiry = f[1];
    r.Manufacturer = f[2];
    for (qsizetype i = 3; i < f.size(); ++i) {
        r.LOTStds[i - 3] = f[i];
    }
    return true;
}

bool ReadStandardsLine(const QString& line, CalProtocolRecord& r) {
    const QStringList f = FieldsAtMost(line, kSeparator, kTurbidityFields);
    if (f.size() < kTurbidityFields) {
        return false;
    }
    r.NumCalPoints = IntegerField(f[0]);
    for (int i = 0; i < CalProtocolRecord::kMaxStandards; ++i) {
        r.CalStds_FNUNTU[i] = f[1 + i];
    }
    return true;
}

// Lines 7 to 10 are optional as pairs: files of the older 3-point form end after line 6
// or line 8. A header without its data line is not a protocol file.
bool ReadOptionalLines(const QStringList& lines, CalProtocolRecord& r) {
    if (lines.size() >= 7 && (lines.size() < 8 || !ReadLotLine(lines[7], r))) {
        return false;
    }
    if (lines.size() >= 9) {
        return lines.size() >= 10 && ReadStandardsLine(lines[9], r);
    }
    if (!r.IsPH) {
        SetStandardTurbidity(r);
    }
    return true;
}

} // namespace

QString ProtocolFileText(const CalProtocolRecord& r) {
    const QStringList lines{
        kHeader1,
        FieldLine({r.Meter, r.SerNo, r.User, BooleanText(r.IsPH)}),
        kHeader3,
        FieldLine({r.Year, r.Month, r.Day, r.Hour, r.Min, r.Sec, r.Interval, r.Mode, r.Slope, r.Asy,
                   r.SensQuality, BooleanText(r.ShowTempF), BooleanText(r.ShowSlopePC)}),
        kHeader5,
        PointsLine(r),
        kHeader7,
        LotLine(r),
        kHeader9,
        StandardsLine(r),
    };
    return lines.join(kLineBreak);
}

bool ParseProtocolFile(const QString& text, CalProtocolRecord& r) {
    const QStringList lines = FieldsAtMost(text, kLineBreak, kMaxLines);
    if (lines.size() < kMinLines || lines[0] != kHeader1 || lines[2] != kHeader3 ||
        lines[4] != kHeader5) {
        return false;
    }
    if (!ReadHeaderLine(lines[1], r) || !ReadProtocolLine(lines[3], r) ||
        !ReadPointsLine(lines[5], r) || !ReadOptionalLines(lines, r)) {
        return false;
    }
    r.Valid = true;
    return true;
}

ProtocolFileKind ProtocolKindOfFile(const QString& path) {
    // A protocol file is ten short lines: anything much larger is a dataset or foreign.
    constexpr qint64 kLargestProtocolFile = 64 * 1024;
    const QFileInfo file(path);
    if (!file.isFile() || file.size() > kLargestProtocolFile) {
        return ProtocolFileKind::None;
    }
    try {
        CalProtocolRecord record;
        if (!ParseProtocolFile(ReadWholeFile(path), record)) {
            return ProtocolFileKind::None;
        }
        return record.IsPH ? ProtocolFileKind::PH : ProtocolFileKind::Turbidity;
    } catch (const MervexError&) {
        return ProtocolFileKind::None;
    }
}
