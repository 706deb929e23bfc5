#include "data/FieldNumber.h"

#include <charconv>
#include <cmath>

namespace {

constexpr qsizetype kMaxNumberChars = 40;

} // namespace

std::optional<double> FieldNumber(QStringView field, bool integer) {
    const QStringView text = field.trimmed();
    if (text.isEmpty() || text.size() > kMaxNumberChars) {
        return std::nullopt;
    }
    char ascii[kMaxNumberChars];
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        const bool allowed = (ch >= '0' && ch <= '9') || ch == '-' ||
                             (!integer && (ch == '.' || ch == 'e' || ch == 'E' || ch == '+'));
        if (!allowed) {
            return std::nullopt;
        }
        ascii[i] = static_cast<char>(ch);
    }
    double value = 0;
    const char* end = ascii + text.size();
    const auto [ptr, error] = std::from_chars(ascii, end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
