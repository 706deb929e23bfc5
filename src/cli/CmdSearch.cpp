#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "meter/SerialLink.h"

#include <QTextStream>

namespace {

// The device of the port the meter was found on; its number when the link has no catalogue.
QString PortDevice(Services& services, int port) {
    const auto* serial = dynamic_cast<const SerialLink*>(&services.link());
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
    Services& services = ctx.services();
    const CCommunication& comm = services.communication;
    ctx.out << PortDevice(services, comm.COMPort) << ';' << comm.Baudrate << ';' << meter.model
            << ';' << meter.serialNumber << '\n';
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("search"),
                           QStringLiteral("search                           find and identify the "
                                          "meter: PORT;BAUD;MODEL;SERIAL"),
                           &RunSearch});

} // namespace
