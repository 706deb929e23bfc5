#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The control rules a control sample is judged by (Westgard's multirule), each on or off.
// `1-2s` warns; every other rule rejects the run.
enum class QcRule : unsigned {
    OneTwoS = 1u << 0,   // 1-2s: |z| > 2
    OneThreeS = 1u << 1, // 1-3s: |z| > 3
    TwoTwoS = 1u << 2,   // 2-2s: this and the previous point beyond 2 s on one side
    RFourS = 1u << 3,    // R-4s: this and the previous point beyond 2 s on opposite sides
    FourOneS = 1u << 4,  // 4-1s: this and the previous three beyond 1 s on one side
    RunX = 1u << 5,      // Nx: this and the previous N − 1 on one side of the target
};

// A set of rules and the length of the `Nx` run (7, 8, 9, 10 or 12).
struct QcRules {
    static constexpr unsigned kAll = 0x3f;
    static constexpr int kRuleCount = 6;

    unsigned mask = kAll;
    int runLength = 10;

    bool Has(QcRule rule) const { return (mask & unsigned(rule)) != 0; }
    // The codes of the rules in `flags`, in the fixed order 1-2s, 1-3s, 2-2s, R-4s, 4-1s, Nx.
    QStringList Codes(unsigned flags) const;
    QString Text() const { return Codes(mask).join(QLatin1Char(',')); }
    // "1-2s,1-3s,10x" (codes joined by ",", any order, letter case ignored); nothing for an
    // unknown code, a run length other than 7, 8, 9, 10 or 12, or two run lengths.
    static std::optional<QcRules> Parse(const QString& text);
    static bool IsRejection(unsigned flags) { return (flags & ~unsigned(QcRule::OneTwoS)) != 0; }
    static QcRule RuleAt(int index) { return QcRule(1u << index); }
};
