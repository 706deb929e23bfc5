#include "calibration/FieldText.h"

#include "app/Errors.h"
#include "app/NumberText.h"
#include "app/RunTimeErrors.h"
#include "data/TextSplit.h"

#include <cmath>

namespace {

[[noreturn]] void TypeMismatch(const QString& text) {
    throw RunTimeError(RtError::TypeMismatch, QStringLiteral("\"%1\"").arg(text));
}

} // namespace

short IntegerField(const QString& text) {
    const std::optional<int> value = WholeNumber(text);
    if (!value) {
        TypeMismatch(text);
    }
    return static_cast<short>(*value);
}

bool BooleanField(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool ok = false;
    const double number = word.toDouble(&ok);
    if (!ok || std::isnan(number)) {
        TypeMismatch(text);
    }
    return number != 0;
}

QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QStringList FieldsAtMost(const QString& text, const QString& separator, int maxParts) {
    QStringList fields;
    for (const QStringView piece : SplitAtMost(text, separator, maxParts)) {
        fields << piece.toString();
    }
    return fields;
}
