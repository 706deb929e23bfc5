// Opening any file as a dataset file; what opens must save and open again unchanged.
#include "FuzzServices.h"
#include "data/MValSet.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(nullptr, 0);
    const QString path = WriteFuzzFile(data, size);
    MValSet set;
    const short code = fuzz.services.measVal.OpenFile(set, path);
    if (code < -4 || code > 0) {
        __builtin_trap();
    }
    if (code == 0) {
        const QString again = path + QStringLiteral(".again.csv");
        MValSet reopened;
        if (!fuzz.services.measVal.SaveFile(set, again) ||
            fuzz.services.measVal.OpenFile(reopened, again) != 0) {
            __builtin_trap();
        }
        const QString text = set.strMVals + set.strMeter + set.strSerNo + set.strUser;
        if (ReadsBackAsWritten(again, text) &&
            (reopened.strMVals != set.strMVals || reopened.strMeter != set.strMeter ||
             reopened.strSerNo != set.strSerNo || reopened.strUser != set.strUser ||
             (set.curDate.isValid() && reopened.curDate != set.curDate))) {
            __builtin_trap();
        }
        QFile::remove(again);
    }
    QFile::remove(path);
    return 0;
}
