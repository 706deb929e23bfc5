// The meter's program list and program answers as the program store reads and writes them,
// every answer being arbitrary bytes: whatever the meter says, the store's list must stay
// what its operations report.
#include "FuzzServices.h"
#include "programs/CUsrDefProg.h"

namespace {

QStringList Listed(const CUsrDefProg& store) {
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    short count = -1;
    FuzzCheck(store.ListMeter(numbers, count) && count >= 0 && count <= CUsrDefProg::kMaxPrograms);
    return numbers.mid(0, count);
}

// Every listed program is there to be read, under its own number.
void CheckEveryListedProgram(const CUsrDefProg& store, const QStringList& numbers) {
    for (const QString& number : numbers) {
        ProgramRecord program = EmptyProgramRecord();
        FuzzCheck(store.AlreadyExistsMeter(number) && store.GetProgramMeter(program, number) &&
                  program.size() == kProgramRecordSize && program[ProgramField::NO] == number &&
                  program[ProgramField::USER] == QLatin1String("---"));
    }
}

ProgramRecord NewProgram(const QString& number) {
    ProgramRecord program = EmptyProgramRecord();
    const QStringList values{number,
                             QStringLiteral("Nit1"),
                             QStringLiteral("16"),
                             QStringLiteral("436"),
                             QStringLiteral("0.0"),
                             QStringLiteral("2.0"),
                             QStringLiteral("0.0"),
                             QStringLiteral("1.0"),
                             QStringLiteral("0.01"),
                             QStringLiteral("NO3"),
                             QStringLiteral("mg/l")};
    for (int i = 0; i < values.size(); ++i) {
        program[i] = values[i];
    }
    program[ProgramField::BLANKREQ] = QStringLiteral("0");
    program[ProgramField::CALPSB] = QStringLiteral("1");
    program[ProgramField::CALREQ] = QStringLiteral("0");
    return program;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApplication();
    FuzzServices fuzz(data, size);
    fuzz.services.device.Online(true);
    CUsrDefProg& store = fuzz.services.usrDefProg;

    const bool updated = store.Update();
    QStringList listed = Listed(store);
    FuzzCheck(updated || listed.isEmpty());
    CheckEveryListedProgram(store, listed);

    QString free;
    if (store.GetFreeProgNumMeter(free)) {
        FuzzCheck(!store.AlreadyExistsMeter(free) && free.size() == 3 &&
                  free.startsWith(QLatin1Char('9')));
    } else {
        FuzzCheck(free.isEmpty());
    }
    const ProgramRecord program = NewProgram(free.isEmpty() ? QStringLiteral("900") : free);

    const bool added = store.AddNew(program);
    FuzzCheck(Listed(store).size() == listed.size() + (added ? 1 : 0));
    listed = Listed(store);
    CheckEveryListedProgram(store, listed);

    store.Modify(program);
    FuzzCheck(Listed(store).size() == listed.size());
    listed = Listed(store);
    CheckEveryListedProgram(store, listed);

    const bool deleted = store.Delete(program[ProgramField::NO]);
    FuzzCheck(Listed(store).size() == listed.size() - (deleted ? 1 : 0));

    if (store.DeleteAll()) {
        FuzzCheck(Listed(store).isEmpty());
    }
    return 0;
}
