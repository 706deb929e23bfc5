// The meter's calibration protocol answers, arbitrary bytes after a first byte that chooses
// the protocol (pH, turbidity or extended turbidity): a fetched protocol is held, of its
// kind, and saves to a file that reads back; a refused one leaves nothing held.
#include "FuzzProtocol.h"
#include "FuzzServices.h"
#include "calibration/CCalProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    EnsureFuzzApplication();
    const int kind = data[0] % 3;
    const bool fPH = kind == 0;
    FuzzServices fuzz(data + 1, size - 1);
    fuzz.services.device.Online(true);
    CCalProtocol& protocol = fuzz.services.calProtocol;

    const bool fetched = protocol.UpdateFromMeter(fPH, kind == 2);
    FuzzCheck(fetched == protocol.IsProtocolValid());
    FuzzCheck(!fetched || protocol.IsProtocolPH() == fPH);
    ProtocolView(protocol);
    CheckProtocolFileRoundTrip(fuzz.services);
    return 0;
}
