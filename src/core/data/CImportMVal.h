#pragma once

#include "meter/MeterSession.h"

#include <QString>
#include <QStringList>
#include <functional>

// Reads the data memory of the connected meter and splits its answer into records.
// Holds no state between calls.
class CImportMVal {
public:
    explicit CImportMVal(const MeterSession& meter) : m_meter(meter) {}

    // One complete conversation with the meter; on success strMVals holds the raw answer
    // (possibly without any record), on failure it is empty and the result is false.
    bool GetMVals(QString& strMVals);

    // Told the records received so far and the elapsed time while the data memory arrives.
    using ProgressHook = std::function<void(qsizetype records, qint64 elapsedMs)>;
    void SetProgressHook(ProgressHook hook) { m_progressHook = std::move(hook); }

    // Takes the next record line off the front of strMVals (whose leading CR LF the caller
    // has already removed) and splits it into intNum fields of strMValRecSet. False, with
    // nothing changed, when no record is left or strMValRecSet has fewer than intNum
    // elements. RecordWalker gives the same records without shortening the text.
    bool ExtractNextRecSet(QStringList& strMValRecSet, QString& strMVals, short intNum);

private:
    bool ReceiveMVals(QString& strMVals);
    void AbortTransfer();

    bool ReceiveDataMemory(QString& strMVals);

    MeterSession m_meter;
    ProgressHook m_progressHook;
};
