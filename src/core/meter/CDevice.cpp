#include "meter/CDevice.h"

#include "app/BusyState.h"
#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/RunTimeErrors.h"
#include "app/Ui.h"
#include "meter/CCommunication.h"
#include "meter/MeterCommands.h"
#include "meter/MeterLink.h"
#include "meter/MeterModels.h"
#include "meter/RecordLayout.h"

#include <cmath>
#include <limits>

namespace {

constexpr short kRecognised = 0;
constexpr short kNoMeter = -1;
constexpr short kFirmwareTooOld = -2;
constexpr int kVariantFirmware = 200;
constexpr int kConversationAnswerTime_s = 4;

// The classic whole-number conversion: round half to even, 16-bit range or an error.
int WholeShort(double value) {
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<short>::min() ||
        rounded > std::numeric_limits<short>::max()) {
        throw RunTimeError(RtError::Overflow);
    }
    return static_cast<int>(rounded);
}

bool IsOnlyArdel60Model(const QString& name) {
    const MeterModel* model = FindMeterModel(name);
    return model != nullptr && model->family == MeterFamily::Ardel60;
}

} // namespace

bool FirmwareSufficient(int version, const QString& model) {
    const MeterModel* known = FindMeterModel(model);
    return version >= MinimumFirmware(known ? known->family : MeterFamily::Photometer);
}

short CDevice::Recognise(QString& strDeviceName, QString& strSerNum, bool fOnlyArdel60) {
    const BusyState::Hold busy(m_meter.busy);
    strDeviceName.clear();
    strSerNum.clear();
    m_online = false;
    return Trapped(m_meter.ui, kNoMeter, [&]() -> short {
        if (!m_meter.communication.Scan()) {
            return kNoMeter;
        }
        const short r = QueryMeter(fOnlyArdel60);
        if (r != kRecognised) {
            return r;
        }
        strDeviceName = m_deviceName;
        strSerNum = m_serialNumber;
        m_online = true;
        return kRecognised;
    });
}

bool CDevice::Ask(const QString& command, QString& answer) {
    return m_meter.link.COMSendAndReceive(command + QStringLiteral("\r\n"), answer);
}

short CDevice::QueryMeter(bool fOnlyArdel60) {
    m_deviceName.clear();
    m_serialNumber.clear();
    m_firmwareVersion = 0;
    m_calLineVariant = false;

    MeterLink& link = m_meter.link;
    const CCommunication& comm = m_meter.communication;
    if (!link.COMInit(comm.COMPort, comm.Baudrate, kConversationAnswerTime_s)) {
        return kNoMeter;
    }
    // Every way out before the conversation ends must end it.
    auto fail = [&link](short r) {
        link.COMDeinit();
        return r;
    };
    QString presence, firmware, model, serial, variant;
    if (!Ask(MeterCommand::kOpen, presence) || !Ask(MeterCommand::kFirmware, firmware)) {
        return fail(kNoMeter);
    }
    QString versionText;
    if (!ExtractAnswerValue(versionText, firmware) ||
        !ParseFirmwareVersion(m_firmwareVersion, versionText)) {
        return fail(kFirmwareTooOld);
    }
    if (!Ask(MeterCommand::kModel, model) || !Ask(MeterCommand::kSerialNumber, serial)) {
        return fail(kNoMeter);
    }
    const bool hasVariant = m_firmwareVersion >= kVariantFirmware;
    if (hasVariant && !Ask(MeterCommand::kVariant, variant)) {
        return fail(kNoMeter);
    }
    link.COMDeinit();

    // From here on the model name stays stored whatever the result.
    if (!ExtractAnswerValue(m_deviceName, model)) {
        return kNoMeter;
    }
    const bool accepted =
        fOnlyArdel60 ? IsOnlyArdel60Model(m_deviceName) : FindMeterModel(m_deviceName) != nullptr;
    if (!accepted) {
        return kNoMeter;
    }
    if (!FirmwareSufficient(m_firmwareVersion, m_deviceName)) {
        return kFirmwareTooOld;
    }
    if (!ExtractAnswerValue(m_serialNumber, serial)) {
        return kNoMeter;
    }
    if (!hasVariant) {
        return kRecognised;
    }
    QString variantValue;
    if (!ExtractAnswerValue(variantValue, variant)) {
        return kNoMeter;
    }
    m_calLineVariant = HasCalLineVariantNumber(variantValue);
    return kRecognised;
}

bool CDevice::ExtractAnswerValue(QString& value, const QString& answer) const {
    value.clear();
    if (!CCommunication::EndsWithOK(answer)) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        const qsizetype valueLength = answer.size() - CCommunication::LenAnswerEnd - 2;
        if (valueLength < 0) {
            throw RunTimeError(RtError::InvalidCall);
        }
        value = answer.mid(2, valueLength);
        return true;
    });
}

bool CDevice::ParseFirmwareVersion(int& version, const QString& text) const {
    version = 0;
    const qsizetype d = text.indexOf(QLatin1Char('.')) + 1; // position from 1, 0 = none
    const qsizetype n = text.size();
    if (d <= 1 || n <= 3 || d >= n) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        const int major = WholeShort(LeadingNumber(text.left(d - 1)));
        const int minor = WholeShort(LeadingNumber(text.mid(d)));
        version = WholeShort(major * 100.0 + minor);
        return true;
    });
}

const MeterModel* CDevice::Judged(const QString& strDeviceName) const {
    if (!strDeviceName.isEmpty()) {
        return FindMeterModel(strDeviceName);
    }
    return m_online ? FindMeterModel(m_deviceName) : nullptr;
}

bool CDevice::IsArdel20(const QString& strDeviceName) const {
    const MeterModel* model = Judged(strDeviceName);
    return model != nullptr && model->family == MeterFamily::Ardel20;
}

bool CDevice::IsArdel60(const QString& strDeviceName) const {
    const MeterModel* model = Judged(strDeviceName);
    return model != nullptr && model->family == MeterFamily::Ardel60;
}

bool CDevice::HasReducedUserMethods(const QString& strDeviceName) const {
    const MeterModel* model = Judged(strDeviceName);
    return model != nullptr && model->reducedUserMethods;
}

bool CDevice::SupportsCalLine(const QString& strDeviceName) const {
    if (m_calLineVariant) {
        return true;
    }
    const MeterModel* model = Judged(strDeviceName);
    return model == nullptr || !model->calLineNeedsVariant;
}

bool CDevice::SupportsPH() const {
    const MeterModel* model = Judged(QString());
    return model != nullptr && model->pH;
}

bool CDevice::SupportsTurbidity() const {
    const MeterModel* model = Judged(QString());
    return model != nullptr && model->turbidity;
}

RecordLayout CDevice::TableLayout(const QString& strDeviceName) const {
    const MeterModel* model = Judged(strDeviceName);
    return RecordLayout::Of(model != nullptr ? model->family : MeterFamily::Photometer);
}

short CDevice::GetTableConfig(QStringList& strColHeaders, QList<short>& intColWidths,
                              QList<int>& curValTypes, const QString& strDeviceName) const {
    return Trapped(m_meter.ui, short{0}, [&]() -> short {
        if (strColHeaders.size() < kMinTableSize || intColWidths.size() < kMinTableSize ||
            curValTypes.size() < kMinTableSize) {
            return 0;
        }
        const RecordLayout layout = TableLayout(strDeviceName);
        for (int c = 0; c < layout.Count(); ++c) {
            strColHeaders[c] = layout.Title(c);
            intColWidths[c] = layout.Width(c);
            curValTypes[c] = layout.Kind(c);
        }
        return static_cast<short>(layout.Count());
    });
}
