// Reading a key of any INI text; the result never exceeds the buffer.
#include "FuzzServices.h"
#include "app/CIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    const QString text = FuzzText(data, size);
    for (const char* key : {"OnlyArdel60", "Manufacturer", "AppName", "Extra"}) {
        const QString value = LookupIniValue(text, QStringLiteral("General"),
                                             QString::fromLatin1(key), QStringLiteral("x"), 256);
        if (value.size() > 255) {
            __builtin_trap();
        }
    }
    return 0;
}
