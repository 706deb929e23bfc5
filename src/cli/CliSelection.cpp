#include "cli/CliSelection.h"

#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordColumns.h"

#include <QDate>

namespace {

// Where an option's value goes, or false when the value is not one it takes.
bool TakeValue(const QString& option, const QString& value, RecordFilter& filter) {
    const QDate date = QDate::fromString(value, Qt::ISODate);
    if (option == QLatin1String("--from") && date.isValid() && filter.from.isNull()) {
        filter.from = date;
    } else if (option == QLatin1String("--to") && date.isValid() && filter.to.isNull()) {
        filter.to = date;
    } else if (option == QLatin1String("--program") && filter.group.isEmpty()) {
        filter.group = value.trimmed();
    } else if (option == QLatin1String("--id") && filter.id.isEmpty()) {
        filter.id = value;
    } else {
        return false;
    }
    return true;
}

} // namespace

bool TakeRecordOptions(QStringList& args, RecordFilter& filter) {
    static const QStringList kOptions{QStringLiteral("--program"), QStringLiteral("--from"),
                                      QStringLiteral("--to"), QStringLiteral("--id")};
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!kOptions.contains(args[i])) {
            rest << args[i];
            continue;
        }
        const QString value = args.value(i + 1);
        if (i + 1 >= args.size() || value.trimmed().isEmpty() ||
            !TakeValue(args[i], value, filter)) {
            return false;
        }
        ++i;
    }
    args = rest;
    return true;
}

RecordSelection SelectedRecords(const CDevice& device, const MValSet& set,
                                const RecordFilter& filter) {
    const RecordLayout columns = ExportLayoutFor(device, set.strMeter).record;
    return FilteredSelection(set.strMVals, filter, columns);
}
