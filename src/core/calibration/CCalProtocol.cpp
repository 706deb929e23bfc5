#include "calibration/CCalProtocol.h"

#include "app/BusyState.h"
#include "app/CCSVFile.h"
#include "app/CConfig.h"
#include "app/DateText.h"
#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CalProtocolAnswer.h"
#include "calibration/CalProtocolFile.h"
#include "calibration/FieldText.h"
#include "calibration/ProtocolExchange.h"
#include "meter/CCommunication.h"
#include "meter/CDevice.h"
#include "meter/CLogin.h"
#include "meter/MeterCommands.h"
#include "meter/MeterLink.h"

#include <QFileInfo>
#include <algorithm>

namespace {

// Copies the first `count` values (at most the record's) into `target`, growing it.
template <std::size_t N>
void CopyFirst(const std::array<QString, N>& source, int count, QStringList& target) {
    const int n = std::clamp(count, 0, static_cast<int>(N));
    while (target.size() < n) {
        target.append(QString());
    }
    std::copy_n(source.begin(), n, target.begin());
}

QString ProtocolCommand(bool fPH, bool fExtended) {
    if (fPH) {
        return MeterCommand::kPHProtocol;
    }
    return fExtended ? MeterCommand::kExtendedTurbidityProtocol : MeterCommand::kTurbidityProtocol;
}

} // namespace

CCalProtocol::CCalProtocol(const MeterSession& meter, CConfig& config, const CDevice& device,
                           const CLogin& login)
    : m_meter(meter), m_config(config), m_device(device), m_login(login) {}

QString CCalProtocol::WorkDir() {
    return Trapped(m_meter.ui, QString(), [&] {
        if (!m_workDir) {
            m_workDir = m_config.WorkDir();
        }
        return *m_workDir;
    });
}

void CCalProtocol::WorkDir(const QString& strWorkDir) {
    TrappedVoid(m_meter.ui, [&] {
        m_config.WorkDir(strWorkDir);
        m_workDir = m_config.WorkDir();
    });
}

bool CCalProtocol::UpdateFromMeter(bool fPH, bool fExtended) {
    const BusyState::Hold busy(m_meter.busy);
    m_record.Clear();
    MarkLotUnchanged();
    m_filePath.clear();
    const bool fetched = Trapped(m_meter.ui, false, [&] {
        if (!m_device.Online()) {
            return true;
        }
        return FetchAndParse(fPH, fExtended);
    });
    if (!fetched) {
        m_record.Clear();
    }
    return fetched;
}

bool CCalProtocol::FetchAndParse(bool fPH, bool fExtended) {
    QString answer;
    if (!ExchangeProtocolCommand(m_meter.link, m_meter.communication,
                                 ProtocolCommand(fPH, fExtended), answer)) {
        return false;
    }
    const bool parsed =
        fPH ? ParsePHAnswer(answer, m_record) : ParseTurbidityAnswer(answer, m_record);
    if (!parsed) {
        return false;
    }
    m_record.Meter = m_device.DeviceName();
    m_record.SerNo = m_device.SerialNumber();
    m_record.User = m_login.UserName();
    m_record.Valid = true;
    return true;
}

bool CCalProtocol::IsProtocolValid() const {
    return m_record.Valid;
}

bool CCalProtocol::IsProtocolPH() const {
    return m_record.IsPH;
}

bool CCalProtocol::GetProtocolDate(short& nYear, short& nMonth, short& nDay) {
    return Trapped(m_meter.ui, false, [&] {
        if (!m_record.Valid) {
            return false;
        }
        nYear = IntegerField(m_record.Year);
        nMonth = IntegerField(m_record.Month);
        nDay = IntegerField(m_record.Day);
        return true;
    });
}

bool CCalProtocol::GetProtocolHeader(QString& strMeter, QString& strSerNo, QString& strUser) {
    if (!m_record.Valid) {
        return false;
    }
    strMeter = m_record.Meter;
    strSerNo = m_record.SerNo;
    strUser = m_record.User;
    return true;
}

bool CCalProtocol::CommonFields(bool fPH, QString& strMeter, QString& strSerNo, QString& strUser,
                                QString& strCalData, QString& strCalTime, QString& strCalInterval_d,
                                QString& strMode) const {
    if (!m_record.Valid || m_record.IsPH != fPH) {
        return false;
    }
    strMeter = m_record.Meter;
    strSerNo = m_record.SerNo;
    strUser = m_record.User;
    strCalData = ShortDateText(DateSerial(IntegerField(m_record.Year), IntegerField(m_record.Month),
                                          IntegerField(m_record.Day)));
    strCalTime = LongTimeText(TimeSerial(IntegerField(m_record.Hour), IntegerField(m_record.Min),
                                         IntegerField(m_record.Sec)));
    strCalInterval_d = m_record.Interval;
    strMode = m_record.Mode;
    return true;
}

bool CCalProtocol::GetProtocolTurbidity(QString& strMeter, QString& strSerNo, QString& strUser,
                                        QString& strCalData, QString& strCalTime,
                                        QString& strCalInterval_d, QString& strCalMode,
                                        short& nNumCalPoints, QStringList& strCalStds_FNUNTU) {
    return Trapped(m_meter.ui, false, [&] {
        if (!CommonFields(false, strMeter, strSerNo, strUser, strCalData, strCalTime,
                          strCalInterval_d, strCalMode)) {
            return false;
        }
        nNumCalPoints = m_record.NumCalPoints;
        CopyFirst(m_record.CalStds_FNUNTU, nNumCalPoints, strCalStds_FNUNTU);
        return true;
    });
}

bool CCalProtocol::GetProtocolPH(QString& strMeter, QString& strSerNo, QString& strUser,
                                 QString& strCalData, QString& strCalTime,
                                 QString& strCalInterval_d, QString& strMode, QString& strSlope,
                                 QString& strAsy, QString& strSensQuality, bool& fShowTempF,
                                 bool& fShowSlopePC, short& nNumCalPoints, QStringList& strPHValues,
                                 QStringList& strVoltageValues_mV, QStringList& strTempValues_C) {
    return Trapped(m_meter.ui, false, [&] {
        if (!CommonFields(true, strMeter, strSerNo, strUser, strCalData, strCalTime,
                          strCalInterval_d, strMode)) {
            return false;
        }
        strSlope = m_record.Slope;
        strAsy = m_record.Asy;
        strSensQuality = m_record.SensQuality;
        fShowTempF = m_record.ShowTempF;
        fShowSlopePC = m_record.ShowSlopePC;
        nNumCalPoints = m_record.NumCalPoints;
        CopyFirst(m_record.PHValues, nNumCalPoints, strPHValues);
        CopyFirst(m_record.VoltageValues_mV, nNumCalPoints, strVoltageValues_mV);
        CopyFirst(m_record.TempValues_C, nNumCalPoints, strTempValues_C);
        return true;
    });
}

bool CCalProtocol::SaveToFile(const QString& strFilePath) {
    return Trapped(m_meter.ui, false, [&] {
        if (!m_record.Valid) {
            return false;
        }
        if (!CCSVFile(m_meter.ui).WriteFile(strFilePath, ProtocolFileText(m_record))) {
            return false;
        }
        MarkLotUnchanged();
        m_filePath = strFilePath;
        return true;
    });
}

bool CCalProtocol::ReadFromFile(const QString& strFilePath) {
    return Trapped(m_meter.ui, false, [&] {
        QString text;
        CalProtocolRecord parsed;
        if (!QFileInfo(strFilePath).isFile() || !CCSVFile(m_meter.ui).ReadFile(text, strFilePath) ||
            !ParseProtocolFile(text, parsed)) {
            return false;
        }
        TakeRecord(parsed);
        m_filePath = strFilePath;
        return true;
    });
}

bool CCalProtocol::ReadFromFile(const QString& strFilePath, bool fPH, QString& strReason) {
    try {
        const std::optional<CalProtocolRecord> parsed = ParsedFile(strFilePath, strReason);
        if (!parsed) {
            return false;
        }
        if (parsed->IsPH != fPH) {
            strReason = LoadResString(parsed->IsPH ? 1502 : 1503);
            return false;
        }
        TakeRecord(*parsed);
        m_filePath = strFilePath;
        return true;
    } catch (...) {
        strReason = DescribeCurrentException();
        return false;
    }
}

std::optional<CalProtocolRecord> CCalProtocol::ParsedFile(const QString& strFilePath,
                                                          QString& strReason) {
    if (!QFileInfo(strFilePath).isFile()) {
        strReason = LoadResString(1500);
        return std::nullopt;
    }
    CalProtocolRecord parsed;
    if (!ParseProtocolFile(ReadWholeFile(strFilePath), parsed)) {
        strReason = LoadResString(1501);
        return std::nullopt;
    }
    return parsed;
}

void CCalProtocol::TakeRecord(const CalProtocolRecord& record) {
    m_record = record;
    MarkLotUnchanged();
}

double CCalProtocol::TempGetFahrenheit(double TempGradCelsius) {
    return TempGradCelsius * 9 / 5 + 32;
}

bool CCalProtocol::SetChargeID(const QString& strLOTTotal, const QString& strExpiry,
                               const QString& strManufacturer, const QStringList& strLOTStds) {
    std::array<QString, CalProtocolRecord::kMaxStandards> lots;
    for (int i = 0; i < CalProtocolRecord::kMaxStandards; ++i) {
        lots[i] = strLOTStds.value(i);
    }
    // Storing the same texts again (the editor confirmed untouched) changes nothing.
    m_lotModified = m_lotModified || strLOTTotal != m_record.LOTTotal ||
                    strExpiry != m_record.Expiry || strManufacturer != m_record.Manufacturer ||
                    lots != m_record.LOTStds;
    m_record.LOTTotal = strLOTTotal;
    m_record.Expiry = strExpiry;
    m_record.Manufacturer = strManufacturer;
    m_record.LOTStds = lots;
    return true;
}

bool CCalProtocol::GetChargeID(QString& strLOTTotal, QString& strExpiry, QString& strManufacturer,
                               QStringList& strLOTStds) {
    strLOTTotal = m_record.LOTTotal;
    strExpiry = m_record.Expiry;
    strManufacturer = m_record.Manufacturer;
    CopyFirst(m_record.LOTStds, CalProtocolRecord::kMaxStandards, strLOTStds);
    return true;
}

void CCalProtocol::MarkLotUnchanged() {
    m_lotModified = false;
    m_unchangedLot = m_record;
}

void CCalProtocol::DropLotChanges() {
    if (!m_lotModified) {
        return;
    }
    m_record.LOTTotal = m_unchangedLot.LOTTotal;
    m_record.Expiry = m_unchangedLot.Expiry;
    m_record.Manufacturer = m_unchangedLot.Manufacturer;
    m_record.LOTStds = m_unchangedLot.LOTStds;
    m_lotModified = false;
}
