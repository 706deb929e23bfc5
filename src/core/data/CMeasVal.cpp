#include "data/CMeasVal.h"

#include "app/CCSVFile.h"
#include "app/DateText.h"
#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/RunTimeErrors.h"
#include "app/SafeSaveFile.h"
#include "app/Ui.h"
#include "app/Windows1252.h"
#include "app/WorkProgress.h"
#include "data/TextSplit.h"
#include "meter/CDevice.h"

#include <QFileInfo>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kEndMarker = QStringLiteral("\r\n!\r\n>");
const QString kFileHeader = QStringLiteral("METER;S/N;USER;DATE;TIME");
const QString kTurbidimeterHeader =
    QStringLiteral("NO;DATE;TIME;ID;VALUE;UNIT;VALID;FLAGS;CALDATE;CALTIME");
// Names 14 fields over the 16 of a photometer record: what files have always carried.
const QString kPhotometerHeader =
    QStringLiteral("NO;DATE;TIME;ID;PROG;CIT;AR/BV;DIL;VALUE1;UNIT1;VALID1;VALUE2;UNIT2;VALID2");
const QString kShortHeader = QStringLiteral("NO;DATE;TIME;ID;VALUE;UNIT;VALID");
// Characters encoded and written at a time: a large dataset's bytes never exist all at once
// beside its text, and the progress moves often enough to be seen.
constexpr qsizetype kWriteChars = 64 * 1024;

// The text in the files' code page; a failed write ends the saving at once.
void WriteText(SafeSaveFile& file, QStringView text) {
    file.write(Windows1252::Encode(text));
    if (file.Failure()) {
        throw *file.Failure();
    }
}

// A piece the file needs; a missing one is a run-time error of the parse.
QStringView Piece(const QList<QStringView>& pieces, int index) {
    if (index >= pieces.size()) {
        throw RunTimeError(RtError::Subscript);
    }
    return pieces[index];
}

int SmallNumber(QStringView text) {
    const QString s = text.toString();
    bool isNumber = false;
    s.trimmed().toDouble(&isNumber);
    if (!isNumber) {
        throw RunTimeError(RtError::TypeMismatch);
    }
    const std::optional<int> value = WholeNumber(s);
    if (!value) {
        throw RunTimeError(RtError::Overflow);
    }
    return *value;
}

// Month/day/year, then hour:minute:second added to it; parts that run over are carried
// as the classic date functions do.
void ReadDateTime(QDateTime& curDate, QStringView date, const QList<QStringView>& fields) {
    const QList<QStringView> d = SplitAtMost(date, u"/", 3);
    // One piece after the other, so the first fault is the one reported.
    const int month = SmallNumber(Piece(d, 0));
    const int dayOfMonth = SmallNumber(Piece(d, 1));
    const QDate day = DateSerial(SmallNumber(Piece(d, 2)), month, dayOfMonth);
    curDate = QDateTime(day, QTime(0, 0));
    const QList<QStringView> t = SplitAtMost(Piece(fields, 4), u":", 3);
    const int hour = SmallNumber(Piece(t, 0));
    const int minute = SmallNumber(Piece(t, 1));
    curDate = QDateTime(day, TimeSerial(hour, minute, SmallNumber(Piece(t, 2))));
}

} // namespace

QString CMeasVal::RecordHeader(const QString& strMeter) const {
    const CDevice& device = m_device;
    return device.IsArdel20(strMeter) || device.IsArdel60(strMeter) ? kTurbidimeterHeader
                                                                    : kPhotometerHeader;
}

QString CMeasVal::FileHead(const MValSet& set) const {
    const QDate date = set.curDate.date();
    const QTime time = set.curDate.time();
    const QString line2 =
        QStringList{
            set.strMeter, set.strSerNo, set.strUser,
            QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year()),
            QStringLiteral("%1:%2:%3").arg(time.hour()).arg(time.minute()).arg(time.second())}
            .join(QLatin1Char(';'));
    return kFileHeader + kLineEnd + line2 + kLineEnd + kLineEnd + RecordHeader(set.strMeter) +
           kLineEnd;
}

bool CMeasVal::ParseCSVText(QString&& strText, MValSet& set) {
    set = MValSet();
    return Trapped(m_ui, false, [&] {
        const QList<QStringView> lines = SplitAtMost(strText, kLineEnd, 5);
        if (Piece(lines, 0) != kFileHeader) {
            return false;
        }
        const QStringView header = Piece(lines, 3);
        if (header != kTurbidimeterHeader && header != kPhotometerHeader &&
            header != kShortHeader) {
            return false;
        }
        const QList<QStringView> fields = SplitAtMost(Piece(lines, 1), u";", 5);
        set.strMeter = Piece(fields, 0).toString();
        set.strSerNo = Piece(fields, 1).toString();
        set.strUser = Piece(fields, 2).toString();
        ReadDateTime(set.curDate, Piece(fields, 3), fields);
        // The raw answer form, so that an opened dataset is walked like an imported one:
        // the line end in front of the records stays, the lines before it go. The text
        // becomes the records without a copy (dropping its front costs nothing).
        const qsizetype records = Piece(lines, 4).data() - strText.constData();
        strText.remove(0, records - kLineEnd.size());
        set.strMVals = std::move(strText);
        set.strMVals.append(kEndMarker);
        return true;
    });
}

bool CMeasVal::SaveFile(const QString& strMVals, const QString& strMeter, const QString& strSerNo,
                        const QString& strUser, const QDateTime& curDate,
                        const QString& strFileName) {
    return Trapped(m_ui, false, [&] {
        SafeSaveFile file(strFileName);
        file.Begin();
        WriteText(file, FileHead(MValSet{QString(), strMeter, strSerNo, strUser, curDate}));
        // The records without the CR LF in front and the end marker behind them.
        const qsizetype n = strMVals.size();
        const QStringView records =
            n > 7 ? QStringView(strMVals).mid(2, n - 2 - kEndMarker.size()) : QStringView();
        // A progress that stops the writing leaves the target as it was, and is no failure.
        ProgressSteps steps(m_progress, records.size());
        for (qsizetype at = 0; at < records.size(); at += kWriteChars) {
            WriteText(file, records.mid(at, kWriteChars));
            if (!steps.At(qMin(at + kWriteChars, records.size()))) {
                return false;
            }
        }
        if (!steps.End()) {
            return false;
        }
        file.Commit();
        return true;
    });
}

short CMeasVal::OpenFile(QString& strMVals, QString& strMeter, QString& strSerNo, QString& strUser,
                         QDateTime& curDate, const QString& strFileName) {
    return Trapped(m_ui, kFailed, [&] {
        if (!QFileInfo(strFileName).isFile()) {
            return kNoSuchFile;
        }
        // A reading the user stopped is no failure to report.
        bool stopped = false;
        FileTextReader::Progress progress;
        if (m_progress) {
            progress = [&](qint64 done, qint64 total) {
                stopped = !m_progress(done, total);
                return !stopped;
            };
        }
        QString text;
        const bool read = Trapped(m_ui, false, [&] {
            try {
                text = ReadWholeFile(strFileName, progress);
            } catch (const MervexError&) {
                if (stopped) {
                    return false;
                }
                throw;
            }
            return true;
        });
        if (!read) {
            return stopped ? kStopped : kReadFailed;
        }
        MValSet set;
        const bool parsed = ParseCSVText(std::move(text), set);
        // Also after a failed parse: the caller sees what the parse had set so far.
        strMVals = set.strMVals;
        strMeter = set.strMeter;
        strSerNo = set.strSerNo;
        strUser = set.strUser;
        curDate = set.curDate;
        return parsed ? kOpened : kNotADatasetFile;
    });
}
