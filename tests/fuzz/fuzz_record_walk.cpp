// The linear record walk must give exactly the records of the classic splitter, for any text.
#include "FuzzServices.h"
#include "data/CImportMVal.h"
#include "data/RecordWalker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(nullptr, 0);
    const QString text = FuzzText(data, size);
    for (const short fields : {short(16), short(10), short(7)}) {
        RecordWalker walker(text);
        QString rest = text;
        QStringList walked;
        QStringList classic(fields);
        bool failed = false;
        while (true) {
            const bool more = walker.Next(walked, fields);
            if (rest.size() < 2) {
                failed = true;
            } else {
                rest.remove(0, 2);
            }
            const bool classicMore =
                !failed && fuzz.services.importMVal.ExtractNextRecSet(classic, rest, fields);
            if (more != classicMore || (more && walked != classic)) {
                __builtin_trap();
            }
            if (!more) {
                break;
            }
        }
        if (walker.Failed() != failed) {
            __builtin_trap();
        }
    }
    return 0;
}
