#pragma once

#include "calibration/CalProtocolRecord.h"
#include "meter/MeterSession.h"

#include <QString>
#include <QStringList>
#include <optional>

class CConfig;
class CDevice;
class CLogin;

// The last calibration protocol of the meter, fetched over the link or read from a
// protocol file, and the lot data of the turbidity standards the user entered. One
// instance lives for the whole run; the protocol outlives the windows that show it.
class CCalProtocol {
public:
    CCalProtocol(const MeterSession& meter, CConfig& config, const CDevice& device,
                 const CLogin& login);

    // The work directory, taken from the configuration at first use; writing stores it in
    // the configuration and takes the stored value back.
    QString WorkDir();
    void WorkDir(const QString& strWorkDir);

    // Fetches the pH protocol (fPH), else the turbidity protocol, extended for fExtended.
    // Offline the record is cleared and the result is true.
    bool UpdateFromMeter(bool fPH, bool fExtended);
    bool IsProtocolValid() const;
    bool IsProtocolPH() const;
    bool GetProtocolDate(short& nYear, short& nMonth, short& nDay);
    bool GetProtocolHeader(QString& strMeter, QString& strSerNo, QString& strUser);
    // Standards beyond the list's size are appended; at most five exist.
    bool GetProtocolTurbidity(QString& strMeter, QString& strSerNo, QString& strUser,
                              QString& strCalData, QString& strCalTime, QString& strCalInterval_d,
                              QString& strCalMode, short& nNumCalPoints,
                              QStringList& strCalStds_FNUNTU);
    // The first points (at most three) of each list; lists grow as needed.
    bool GetProtocolPH(QString& strMeter, QString& strSerNo, QString& strUser, QString& strCalData,
                       QString& strCalTime, QString& strCalInterval_d, QString& strMode,
                       QString& strSlope, QString& strAsy, QString& strSensQuality,
                       bool& fShowTempF, bool& fShowSlopePC, short& nNumCalPoints,
                       QStringList& strPHValues, QStringList& strVoltageValues_mV,
                       QStringList& strTempValues_C);
    bool SaveToFile(const QString& strFilePath);
    // A file that cannot be read whole leaves the held protocol and its lot data as they
    // were, so the window showing it can still save and print it.
    bool ReadFromFile(const QString& strFilePath);
    // The same for a window that shows one kind (fPH): a protocol of the other kind is
    // refused as well. Reports nothing itself; on failure `strReason` says why.
    bool ReadFromFile(const QString& strFilePath, bool fPH, QString& strReason);
    double TempGetFahrenheit(double TempGradCelsius);
    // Elements 0 to 4: the lots of the low, mid, high, 4th and 5th standard.
    bool SetChargeID(const QString& strLOTTotal, const QString& strExpiry,
                     const QString& strManufacturer, const QStringList& strLOTStds);
    bool GetChargeID(QString& strLOTTotal, QString& strExpiry, QString& strManufacturer,
                     QStringList& strLOTStds);
    // Whether lot data was changed since the protocol was fetched, read or saved: such data
    // exists nowhere else and is lost when another protocol replaces this one.
    bool IsLotModified() const { return m_lotModified; }
    // The file the held protocol was read from or last saved to; empty for a protocol
    // fetched from the meter and never saved.
    const QString& FilePath() const { return m_filePath; }
    // Gives the lot data back as it was when the protocol was fetched, read or saved.
    void DropLotChanges();

private:
    bool FetchAndParse(bool fPH, bool fExtended);
    // The record of a protocol file, or nothing with the reason; throws on a file error.
    static std::optional<CalProtocolRecord> ParsedFile(const QString& strFilePath,
                                                       QString& strReason);
    void TakeRecord(const CalProtocolRecord& record);
    // The fields both kinds share; false unless a protocol of the kind is held.
    bool CommonFields(bool fPH, QString& strMeter, QString& strSerNo, QString& strUser,
                      QString& strCalData, QString& strCalTime, QString& strCalInterval_d,
                      QString& strMode) const;

    MeterSession m_meter;
    CConfig& m_config;
    const CDevice& m_device;
    const CLogin& m_login;
    // The lot data are unchanged since this moment: fetched, read or saved.
    void MarkLotUnchanged();

    CalProtocolRecord m_record;
    CalProtocolRecord m_unchangedLot; // the record when the lot was last unchanged
    bool m_lotModified = false;
    QString m_filePath;
    std::optional<QString> m_workDir;
};
