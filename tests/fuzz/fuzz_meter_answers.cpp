// Identification of a meter whose every answer is arbitrary bytes: the firmware version,
// model, serial number and variant answers go through the value extraction and the
// version parsing; a recognised meter is online as the model and serial number it reported.
#include "FuzzServices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(data, size);
    CDevice& device = fuzz.services.device;
    QString name;
    QString serial;
    const bool onlyArdel60 = size % 2 == 1;
    const short r = device.Recognise(name, serial, onlyArdel60);
    FuzzCheck(r == 0 || r == -1 || r == -2);
    FuzzCheck(device.Online() == (r == 0));
    if (r == 0) {
        FuzzCheck(name == device.DeviceName() && serial == device.SerialNumber() &&
                  (!onlyArdel60 || device.IsArdel60()));
    } else {
        FuzzCheck(name.isEmpty() && serial.isEmpty());
    }
    return 0;
}
