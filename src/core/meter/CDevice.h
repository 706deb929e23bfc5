#pragma once

#include "meter/MeterSession.h"

#include <QList>
#include <QString>
#include <QStringList>

class RecordLayout;
struct MeterModel;

// The program's picture of the connected meter: identification after the port search,
// the capability questions asked before a command is offered, and the column layout of
// the dataset table for a model.
class CDevice {
public:
    explicit CDevice(const MeterSession& meter) : m_meter(meter) {}

    bool Online() const { return m_online; }
    void Online(bool value) { m_online = value; }
    QString DeviceName() const { return m_deviceName; }
    QString SerialNumber() const { return m_serialNumber; }

    // 0 = recognised, -1 = no supported meter found, -2 = firmware too old. On 0 the two
    // texts receive model name and serial number and the meter is online.
    short Recognise(QString& strDeviceName, QString& strSerNum, bool fOnlyArdel60);

    // With a name: judges that model. Without: judges the stored model, false offline.
    bool IsArdel20(const QString& strDeviceName = QString()) const;
    bool IsArdel60(const QString& strDeviceName = QString()) const;
    bool HasReducedUserMethods(const QString& strDeviceName = QString()) const;
    // The calibration-line feature of user programs; true offline without a name.
    bool SupportsCalLine(const QString& strDeviceName = QString()) const;
    bool SupportsPH() const;
    bool SupportsTurbidity() const;

    // Arrays are pre-sized by the caller (size = upper bound + 1); returns 10, 16, or 0
    // when any array has fewer than 16 elements. Elements past the count stay untouched.
    short GetTableConfig(QStringList& strColHeaders, QList<short>& intColWidths,
                         QList<int>& curValTypes, const QString& strDeviceName) const;
    // The record layout those arrays are filled from, judged the same way.
    RecordLayout TableLayout(const QString& strDeviceName) const;

    static constexpr int kMinTableSize = 16;

private:
    short QueryMeter(bool fOnlyArdel60);
    // Sends the command (CR LF appended); false when no answer came.
    bool Ask(const QString& command, QString& answer);
    bool ExtractAnswerValue(QString& value, const QString& answer) const;
    bool ParseFirmwareVersion(int& version, const QString& text) const;
    // The model whose capabilities a predicate judges, or nothing (offline, no name).
    const MeterModel* Judged(const QString& strDeviceName) const;

    MeterSession m_meter;
    bool m_online = false;
    QString m_deviceName;
    QString m_serialNumber;
    int m_firmwareVersion = 0;
    bool m_calLineVariant = false;
};

// True when the firmware version (major * 100 + minor) suffices for the model's family.
bool FirmwareSufficient(int version, const QString& model);
