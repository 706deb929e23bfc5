#pragma once

#include <QByteArray>

// The last calibrations the meter remembers, as the comma-separated values of the
// protocol answers (field 0 names the protocol, then date, time and the details).
namespace CalProtocols {

// Date, time, mode code, slope, asymmetry, sensor quality code, interval, °F flag,
// percent flag, number of points and pH, mV and °C of each of the three buffers.
QByteArray Ph();
// Date, time and interval of the three-point calibration with the fixed standards.
QByteArray Turbidity();
// Date, time, interval, mode, number of points and the standards' nominal values.
QByteArray ExtendedTurbidity();

} // namespace CalProtocols
