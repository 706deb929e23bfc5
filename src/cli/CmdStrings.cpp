#include "app/TextTables.h"
#include "cli/CliCommand.h"

#include <QTextStream>

namespace {

int RunStrings(CliContext& ctx, const QStringList& args) {
    if (!args.isEmpty()) {
        return UsageError(ctx, QStringLiteral("strings"));
    }
    const StringTable& table = TextTables::Active();
    for (const int number : table.Numbers()) {
        ctx.out << number << '\t' << table.Text(number) << '\n';
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("strings"),
                           QStringLiteral("strings                          the string table: "
                                          "NUMBER<TAB>TEXT per line, ascending"),
                           &RunStrings});

} // namespace
