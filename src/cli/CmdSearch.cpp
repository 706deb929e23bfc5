#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "meter/CCommunication.h"
#include "meter/SerialLink.h"

#include <QTextStream>

namespace {

// The device of the port the meter was found on; its number when the link has no catalogue.
QString PortDevice(const MeterLink& link, int port) {
    const auto* serial = dynamic_cast<const SerialLink*>(&link);
    const QString device = serial ? serial->Catalogue().Device(port) : QString();
    return device.isEmpty() ? QString::number(port) : device;
}

int RunSearch(CliContext& ctx, const QStringList& args) {
    if (!args.isEmpty()) {
        return UsageError(ctx, QStringLiteral("search"));
    }
    FoundMeter meter;
    if (!SearchMeter(ctx, meter)) {
        return kExitFailure;
    }
    const CCommunication& comm = ctx.communication();
    ctx.out << PortDevice(ctx.link(), comm.COMPort) << ';' << comm.Baudrate << ';' << meter.model
            << ';' << meter.serialNumber << '\n';
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("search"),
                           QStringLiteral("search                           find and identify the "
                                          "meter: PORT;BAUD;MODEL;SERIAL"),
                           &RunSearch});

} // namespace
