#include "app/Services.h"
#include "app/StringTable.h"
#include "cli/CliCommand.h"
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
    Services& services = ctx.services();
    const bool onlyArdel60 = services.ini.OnlyArdel60();
    QString model;
    QString serialNumber;
    const short r = services.device.Recognise(model, serialNumber, onlyArdel60);
    if (r == 0) {
        const CCommunication& comm = services.communication;
        ctx.out << PortDevice(services, comm.COMPort) << ';' << comm.Baudrate << ';' << model << ';'
                << serialNumber << '\n';
        return kExitOk;
    }
    if (r == -2) {
        ctx.err << LoadResString(1201) << '\n' << LoadResString(1202) << '\n';
    } else {
        ctx.err << LoadResString(onlyArdel60 ? 1245 : 1060) << '\n';
    }
    return kExitFailure;
}

const CliRegistration reg({QStringLiteral("search"),
                           QStringLiteral("search                           find and identify the "
                                          "meter: PORT;BAUD;MODEL;SERIAL"),
                           &RunSearch});

} // namespace
