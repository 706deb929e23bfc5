#include "data/WorkbookCompression.h"

#include <dlfcn.h>

namespace {

// zlib's Z_BEST_SPEED.
constexpr int kFastestLevel = 1;
// minizip's ZIP_INTERNALERROR: the workbook then fails to close, and the export reports it.
constexpr int kZipInternalError = -104;

using OpenNewFileInZip = int (*)(void*, const char*, const void*, const void*, unsigned,
                                 const void*, unsigned, const char*, int, int, int, int, int, int,
                                 const char*, unsigned long, unsigned long, unsigned long, int);

} // namespace

int WorkbookCompression::Level() {
    return kFastestLevel;
}

// libxlsxwriter opens each part of the workbook through this minizip call (the shared
// libminizip of the system). Defined in the program, it is found before the library's own,
// which it calls with the same arguments but the level. Where libxlsxwriter carries its own
// copy of minizip, this is never called and the library's default level stays.
extern "C" __attribute__((visibility("default"))) int zipOpenNewFileInZip4_64(
    void* file, const char* filename, const void* zipfi, const void* extrafield_local,
    unsigned size_extrafield_local, const void* extrafield_global, unsigned size_extrafield_global,
    const char* comment, int method, int /*level*/, int raw, int windowBits, int memLevel,
    int strategy, const char* password, unsigned long crcForCrypting, unsigned long versionMadeBy,
    unsigned long flagBase, int zip64) {
    static const auto next =
        reinterpret_cast<OpenNewFileInZip>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (next == nullptr) {
        return kZipInternalError;
    }
    return next(file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
                size_extrafield_global, comment, method, WorkbookCompression::Level(), raw,
                windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase,
                zip64);
}
