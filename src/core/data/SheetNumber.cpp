#include "data/SheetNumber.h"

#include "data/FieldNumber.h"

#include <algorithm>

namespace {

// A cell holds 15 significant digits exactly; a longer ID would show rounded.
constexpr qsizetype kMaxWholeDigits = 15;

bool IsOwnWholeForm(QStringView text) {
    if (text.isEmpty() || text.size() > kMaxWholeDigits || (text.size() > 1 && text[0] == u'0')) {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

} // namespace

std::optional<SheetNumber> SheetNumberOf(QStringView field, bool whole) {
    if (whole && !IsOwnWholeForm(field)) {
        return std::nullopt;
    }
    const std::optional<double> value = FieldNumber(field, whole);
    if (!value) {
        return std::nullopt;
    }
    SheetNumber number;
    number.value = *value;
    const QStringView text = field.trimmed();
    qsizetype end = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    number.exponent = end >= 0;
    if (!number.exponent) {
        end = text.size();
    }
    const qsizetype point = text.left(end).indexOf(u'.');
    if (point >= 0) {
        number.decimals = int(std::min<qsizetype>(end - point - 1, kMaxSheetDecimals));
    }
    return number;
}
