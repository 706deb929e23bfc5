#include "app/CCSVFile.h"
#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "programs/CUsrDefProg.h"
#include "programs/ProgramFile.h"

#include <QTextStream>

namespace {

const QString kName = QStringLiteral("programs");

// Every sub-command but "delete --all" works on the meter's list, read first.
bool ReadMeterList(CliContext& ctx) {
    if (!ctx.usrDefProg().Update()) {
        ReportFailure(ctx, 1150);
        return false;
    }
    return true;
}

int Finish(CliContext& ctx, bool ok, int failureMessage) {
    if (!ok) {
        ReportFailure(ctx, failureMessage);
        return kExitFailure;
    }
    return kExitOk;
}

int List(CliContext& ctx) {
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    short count = 0;
    if (!ctx.usrDefProg().ListMeter(numbers, count)) {
        return Finish(ctx, false, 1152);
    }
    for (int i = 0; i < count; ++i) {
        ctx.out << numbers[i] << '\n';
    }
    return kExitOk;
}

int Get(CliContext& ctx, const QString& number, const QString& outPath) {
    CUsrDefProg& store = ctx.usrDefProg();
    ProgramRecord program = EmptyProgramRecord();
    if (!store.GetProgramMeter(program, number)) {
        return Finish(ctx, false, 1103);
    }
    program[ProgramField::USER] = ctx.user;
    return Finish(ctx, store.SaveToFile(program, outPath), 1088);
}

// Like the console's copy to the meter: a number already in the meter is replaced only
// when asked to.
int Put(CliContext& ctx, const ProgramRecord& program, bool replace) {
    CUsrDefProg& store = ctx.usrDefProg();
    if (!store.AlreadyExistsMeter(program[ProgramField::NO])) {
        return Finish(ctx, store.AddNew(program), 1088);
    }
    if (!replace) {
        return Finish(ctx, false, 1146);
    }
    return Finish(ctx, store.Modify(program), 1106);
}

bool ReadProgramFile(CliContext& ctx, const QString& path, ProgramRecord& program) {
    QString text;
    if (CCSVFile(ctx.ui()).ReadFile(text, path) && ParseProgramFile(text, program)) {
        return true;
    }
    ReportFailure(ctx, 1103);
    return false;
}

int Delete(CliContext& ctx, const QString& number) {
    CUsrDefProg& store = ctx.usrDefProg();
    if (number == QLatin1String("--all")) {
        return Finish(ctx, store.DeleteAll(), 1100);
    }
    if (!ReadMeterList(ctx)) {
        return kExitFailure;
    }
    return Finish(ctx, store.AlreadyExistsMeter(number) && store.Delete(number), 1097);
}

bool ValidUsage(const QString& sub, const QStringList& rest) {
    if (sub == QLatin1String("list")) {
        return rest.isEmpty();
    }
    if (sub == QLatin1String("get")) {
        return rest.size() == 2;
    }
    if (sub == QLatin1String("put")) {
        return rest.size() == 1 || (rest.size() == 2 && rest[1] == QLatin1String("--replace"));
    }
    return sub == QLatin1String("delete") && rest.size() == 1;
}

int RunPrograms(CliContext& ctx, const QStringList& args) {
    const QString sub = args.value(0);
    const QStringList rest = args.mid(1);
    if (!ValidUsage(sub, rest)) {
        return UsageError(ctx, kName);
    }
    // The file is checked before the meter is searched for.
    ProgramRecord program = EmptyProgramRecord();
    if (sub == QLatin1String("put") && !ReadProgramFile(ctx, rest[0], program)) {
        return kExitFailure;
    }
    FoundMeter meter;
    if (!SearchMeter(ctx, meter)) {
        return kExitFailure;
    }
    if (sub == QLatin1String("delete")) {
        return Delete(ctx, rest[0]);
    }
    if (!ReadMeterList(ctx)) {
        return kExitFailure;
    }
    if (sub == QLatin1String("list")) {
        return List(ctx);
    }
    if (sub == QLatin1String("get")) {
        return Get(ctx, rest[0], rest[1]);
    }
    return Put(ctx, program, rest.size() == 2);
}

const CliRegistration reg(
    {kName,
     QStringLiteral("programs list                    search; the meter's user program numbers, "
                    "one per line\n"
                    "  programs get NUM OUT.csv         search; meter program NUM -> program "
                    "file (USER = --user)\n"
                    "  programs put IN.csv [--replace]  search; program file -> meter (an "
                    "existing number only with --replace)\n"
                    "  programs delete NUM | --all      search; delete one or all programs in "
                    "the meter"),
     &RunPrograms});

} // namespace
