// Identification of a meter whose every answer is arbitrary bytes.
#include "FuzzServices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(data, size);
    QString name;
    QString serial;
    const short r = fuzz.services.device.Recognise(name, serial, size % 2 == 1);
    if (r != 0 && r != -1 && r != -2) {
        __builtin_trap();
    }
    if (r == 0 && !fuzz.services.device.Online()) {
        __builtin_trap();
    }
    return 0;
}
