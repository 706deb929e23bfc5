#pragma once

#include <QByteArray>
#include <QtGlobal>

// While alive, the command lines a test starts run under the C locale (or the desktop
// locale given), which must not leak into what they write: dates and numbers follow the
// program's language ("15/03/2024").
class CliLocale {
public:
    explicit CliLocale(const char* locale = "C.UTF-8")
        : m_wasSet(qEnvironmentVariableIsSet("LC_ALL")), m_saved(qgetenv("LC_ALL")) {
        qputenv("LC_ALL", locale);
    }
    ~CliLocale() {
        if (m_wasSet) {
            qputenv("LC_ALL", m_saved);
        } else {
            qunsetenv("LC_ALL");
        }
    }
    CliLocale(const CliLocale&) = delete;
    CliLocale& operator=(const CliLocale&) = delete;

private:
    bool m_wasSet;
    QByteArray m_saved;
};
