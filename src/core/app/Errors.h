#pragma once

#include <QString>
#include <stdexcept>

// A run-time error of the program: what the common error trap reports.
class MervexError : public std::runtime_error {
public:
    explicit MervexError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& Description() const { return m_description; }

private:
    QString m_description;
};
