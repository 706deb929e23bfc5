#include "qc/QcRules.h"

namespace {

const char* const kFixedCodes[] = {"1-2s", "1-3s", "2-2s", "R-4s", "4-1s"};

bool IsRunLength(int n) {
    return n == 7 || n == 8 || n == 9 || n == 10 || n == 12;
}

} // namespace

QStringList QcRules::Codes(unsigned flags) const {
    QStringList codes;
    for (int i = 0; i < kRuleCount; ++i) {
        if ((flags & unsigned(RuleAt(i))) == 0) {
            continue;
        }
        codes << (RuleAt(i) == QcRule::RunX ? QStringLiteral("%1x").arg(runLength)
                                            : QLatin1String(kFixedCodes[i]));
    }
    return codes;
}

std::optional<QcRules> QcRules::Parse(const QString& text) {
    QcRules rules;
    rules.mask = 0;
    bool runGiven = false;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QString code = part.trimmed();
        int index = -1;
        for (int i = 0; i < std::ssize(kFixedCodes); ++i) {
            if (code.compare(QLatin1String(kFixedCodes[i]), Qt::CaseInsensitive) == 0) {
                index = i;
            }
        }
        if (index >= 0) {
            rules.mask |= unsigned(RuleAt(index));
            continue;
        }
        bool number = false;
        const int n = code.endsWith(QLatin1Char('x'), Qt::CaseInsensitive)
                          ? code.chopped(1).toInt(&number)
                          : 0;
        if (!number || !IsRunLength(n) || (runGiven && n != rules.runLength)) {
            return std::nullopt;
        }
        runGiven = true;
        rules.runLength = n;
        rules.mask |= unsigned(QcRule::RunX);
    }
    return rules;
}
