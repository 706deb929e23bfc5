// Reading any bytes as a calibration protocol file: what reads is held and saves to a file
// that reads back to the same protocol.
#include "FuzzProtocol.h"
#include "FuzzServices.h"
#include "calibration/CCalProtocol.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(nullptr, 0);
    CCalProtocol& protocol = fuzz.services.calProtocol;
    const QString path = WriteFuzzFile(data, size);

    FuzzCheck(protocol.ReadFromFile(path) == protocol.IsProtocolValid());
    ProtocolView(protocol);
    CheckProtocolFileRoundTrip(fuzz.services);
    QFile::remove(path);
    return 0;
}
