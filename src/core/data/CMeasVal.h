#pragma once

#include "app/FileTextReader.h"
#include "data/MValSet.h"

#include <QDateTime>
#include <QString>

class CDevice;
class Ui;

// Turns a dataset into the text of a dataset file and back, and saves and opens such files.
class CMeasVal {
public:
    CMeasVal(const CDevice& device, Ui& ui) : m_device(device), m_ui(ui) {}

    // Result codes of OpenFile.
    static constexpr short kOpened = 0;
    static constexpr short kFailed = -1;
    static constexpr short kNoSuchFile = -2;
    static constexpr short kReadFailed = -3;
    static constexpr short kNotADatasetFile = -4;
    static constexpr short kStopped = -5; // the progress stopped the reading

    // Creates or replaces the file; a failure is reported and gives false.
    bool SaveFile(const QString& strMVals, const QString& strMeter, const QString& strSerNo,
                  const QString& strUser, const QDateTime& curDate, const QString& strFileName);
    short OpenFile(QString& strMVals, QString& strMeter, QString& strSerNo, QString& strUser,
                   QDateTime& curDate, const QString& strFileName);

    bool SaveFile(const MValSet& set, const QString& strFileName) {
        return SaveFile(set.strMVals, set.strMeter, set.strSerNo, set.strUser, set.curDate,
                        strFileName);
    }
    // Told how far OpenFile has read or SaveFile has written; false stops the work without
    // a message: OpenFile gives kStopped, SaveFile false and the file stays as it was.
    // Empty: the work runs to the end.
    void SetProgress(FileTextReader::Progress progress) { m_progress = std::move(progress); }

    short OpenFile(MValSet& set, const QString& strFileName) {
        return OpenFile(set.strMVals, set.strMeter, set.strSerNo, set.strUser, set.curDate,
                        strFileName);
    }

private:
    // The lines above the records: file header, the dataset's header, record header.
    QString FileHead(const MValSet& set) const;
    // Takes the text: a parsed text becomes the records.
    bool ParseCSVText(QString&& strText, MValSet& set);
    QString RecordHeader(const QString& strMeter) const;

    const CDevice& m_device;
    Ui& m_ui;
    FileTextReader::Progress m_progress;
};
