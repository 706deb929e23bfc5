#include "cli/CliLink.h"

#include "meter/SerialLink.h"

std::unique_ptr<MeterLink> MakeCliLink(Ui& ui, const QStringList& ports) {
    return MakeSerialLink(ui, ports);
}
