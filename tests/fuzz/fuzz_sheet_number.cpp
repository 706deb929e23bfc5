// Any field as a workbook number: a whole number must be exactly its own text, a decimal
// must be the value every other reader of the field sees, with the decimals it was sent with.
#include "FuzzServices.h"
#include "data/FieldNumber.h"
#include "data/SheetNumber.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = FuzzText(data, size);
    if (const std::optional<SheetNumber> whole = SheetNumberOf(text, true)) {
        if (whole->decimals != 0 || whole->exponent ||
            QString::number(qint64(whole->value)) != text) {
            __builtin_trap();
        }
    }
    const std::optional<SheetNumber> number = SheetNumberOf(text, false);
    const std::optional<double> read = FieldNumber(text, false);
    if (number.has_value() != read.has_value() ||
        (number &&
         (number->value != *read || number->decimals < 0 || number->decimals > kMaxSheetDecimals ||
          number->exponent != text.contains(u'e', Qt::CaseInsensitive)))) {
        __builtin_trap();
    }
    return 0;
}
