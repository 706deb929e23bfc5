#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// A command's arguments: "--name value" pairs among the names it knows, and the words that
// are no option. A value of the wrong form is named in Bad(), in the user's language.
class CliOptions {
public:
    // Nothing when an option is unknown or lacks its value.
    static std::optional<CliOptions> Parse(const QStringList& args, const QStringList& known);

    const QStringList& Words() const { return m_words; }
    bool Has(const char* name) const { return m_values.contains(QLatin1String(name)); }
    QString Text(const char* name) const { return m_values.value(QLatin1String(name)); }
    // The value read as a date (YYYY-MM-DD) or a number; nothing when the option is absent,
    // or (then also Bad()) when its value is no such thing.
    std::optional<QDate> Date(const char* name);
    std::optional<double> Real(const char* name);
    std::optional<qint64> Whole(const char* name);
    // Names an option whose value is wrong.
    void Refuse(const char* name);
    const QString& Bad() const { return m_bad; }

private:
    QHash<QString, QString> m_values;
    QStringList m_words;
    QString m_bad;
};
