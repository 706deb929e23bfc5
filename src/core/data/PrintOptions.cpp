#include "data/PrintOptions.h"

#include <QSettings>

namespace {

const QString kLayoutKey = QStringLiteral("Settings/PrintLayout");
const QString kSignatureKey = QStringLiteral("Settings/PrintSignature");
const QString kLines = QStringLiteral("Lines");
const QString kTable = QStringLiteral("Table");

} // namespace

PrintOptions RememberedPrintOptions() {
    const QSettings settings;
    PrintOptions options;
    if (settings.value(kLayoutKey).toString() == kLines) {
        options.layout = PrintLayout::Lines;
    }
    options.signature = settings.value(kSignatureKey, true).toBool();
    return options;
}

void RememberPrintOptions(const PrintOptions& options) {
    QSettings settings;
    settings.setValue(kLayoutKey, options.layout == PrintLayout::Lines ? kLines : kTable);
    settings.setValue(kSignatureKey, options.signature);
}
