// Reading any bytes as a program file of the work directory: a file that is refused leaves
// the program as it was; a program that reads must save and read again unchanged.
#include "FuzzServices.h"
#include "programs/CUsrDefProg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The fuzzer's files are written to the temporary folder: the store's work directory goes
// there once, in the private home's configuration.
void UseTempFolderAsWorkDir(CUsrDefProg& store) {
    static bool placed = false;
    if (!placed) {
        store.WorkDir(QDir::tempPath());
        placed = true;
    }
    FuzzCheck(QFileInfo(store.WorkDir()) == QFileInfo(QDir::tempPath()));
}

ProgramRecord Untouched() {
    ProgramRecord program = EmptyProgramRecord();
    for (qsizetype i = 0; i < program.size(); ++i) {
        program[i] = QStringLiteral("untouched %1").arg(i);
    }
    return program;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(nullptr, 0);
    CUsrDefProg& store = fuzz.services.usrDefProg;
    UseTempFolderAsWorkDir(store);
    const QString path = WriteFuzzFile(data, size);
    const QString again = path + QStringLiteral(".again.csv");

    ProgramRecord program = Untouched();
    if (!store.ReadFromFile(program, QFileInfo(path).fileName())) {
        FuzzCheck(program == Untouched());
    } else {
        FuzzCheck(program.size() == kProgramRecordSize);
        ProgramRecord reread = Untouched();
        FuzzCheck(store.SaveToFile(program, again) &&
                  store.ReadFromFile(reread, QFileInfo(again).fileName()) && reread == program);
    }
    QFile::remove(again);
    QFile::remove(path);
    return 0;
}
