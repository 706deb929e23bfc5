// Reading any bytes as a program file of the work directory: a file that is refused leaves
// the program as it was and is not listed; a program that reads is listed under its number
// and must save and read again unchanged.
#include "FuzzServices.h"
#include "programs/CUsrDefProg.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A work directory of its own, so that the listing sees the fuzzer's file only; it is
// stored once in the private home's configuration.
QString UseOwnWorkDir(CUsrDefProg& store) {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/mervex-fuzz-work-XXXXXX"));
    static bool placed = false;
    if (!placed) {
        store.WorkDir(dir.path());
        placed = true;
    }
    FuzzCheck(dir.isValid() && store.WorkDir() == dir.path());
    return dir.path();
}

ProgramRecord Untouched() {
    ProgramRecord program = EmptyProgramRecord();
    for (qsizetype i = 0; i < program.size(); ++i) {
        program[i] = QStringLiteral("untouched %1").arg(i);
    }
    return program;
}

// The listing holds the file exactly when it reads, with the number it reads with.
void CheckListing(CUsrDefProg& store, const QString& name, const ProgramRecord* program) {
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    QStringList names(CUsrDefProg::kMaxPrograms);
    short count = -1;
    FuzzCheck(store.ListPC(numbers, names, count));
    if (program == nullptr) {
        FuzzCheck(count == 0);
    } else {
        FuzzCheck(count == 1 && names[0] == name && numbers[0] == (*program)[ProgramField::NO]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(nullptr, 0);
    CUsrDefProg& store = fuzz.services.usrDefProg;
    const QString workDir = UseOwnWorkDir(store);
    const QString name = QStringLiteral("PROG 900.csv");
    const QString path = WriteFuzzFile(data, size, workDir + QLatin1Char('/') + name);
    const QString again = workDir + QStringLiteral("/saved.tmp");

    ProgramRecord program = Untouched();
    if (!store.ReadFromFile(program, name)) {
        FuzzCheck(program == Untouched());
        CheckListing(store, name, nullptr);
    } else {
        FuzzCheck(program.size() == kProgramRecordSize);
        CheckListing(store, name, &program);
        ProgramRecord reread = Untouched();
        FuzzCheck(store.SaveToFile(program, again) && QFile::remove(path) &&
                  QFile::rename(again, path) && store.ReadFromFile(reread, name));
        FuzzCheck(reread == program || !ReadsBackAsWritten(path, program.join(QString())));
    }
    QFile::remove(path);
    return 0;
}
