#include "engine/MeterModel.h"

#include <QStringList>

namespace {

bool OneOf(const QString& name, const QStringList& names) {
    return names.contains(name);
}

} // namespace

MeterModel MeterModel::Of(const QString& name) {
    MeterModel model;
    const bool ardel20 = OneOf(name, {QStringLiteral("Ardel 20 IR"), QStringLiteral("Ardel 20 T")});
    const bool ardel60 = OneOf(name, {QStringLiteral("Ardel 60 IR"), QStringLiteral("Ardel 60 T")});
    if (ardel20 || ardel60) {
        // Turbidimeters keep neither user programs nor a pH channel.
        model.family = ardel20 ? MeterFamily::Ardel20 : MeterFamily::Ardel60;
        model.programs = false;
        model.turbidity = true;
        model.extendedTurbidity = ardel60;
        return model;
    }
    model.reducedPrograms =
        OneOf(name, {QStringLiteral("R-2600"), QStringLiteral("Zentravox STD")});
    model.ph = OneOf(name, {QStringLiteral("Zentravox"), QStringLiteral("Zentravox Turb"),
                            QStringLiteral("Zentravox pH"), QStringLiteral("R-2600 Pro"),
                            QStringLiteral("R-2600 Turb"), QStringLiteral("DEVICENAME")});
    model.turbidity = OneOf(name, {QStringLiteral("Zentravox Turb"), QStringLiteral("R-2600 Turb"),
                                   QStringLiteral("DEVICENAME")});
    return model;
}

int FirmwareNumber(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 2) {
        return 0;
    }
    bool majorOk = false;
    bool minorOk = false;
    const int major = parts[0].toInt(&majorOk);
    const int minor = parts[1].toInt(&minorOk);
    return majorOk && minorOk ? major * 100 + minor : 0;
}
