#pragma once

#include <QString>

// Who works with the program and whether the meter is to be searched: the answers of the
// login dialog. The user name is a free label written into datasets and printouts.
class CLogin {
public:
    static constexpr short UserNameMaxLen = 15;

    bool Successful() const { return m_successful; }
    void Successful(bool value) { m_successful = value; }
    bool SearchDevice() const { return m_searchDevice; }
    void SearchDevice(bool value) { m_searchDevice = value; }

    QString UserName() const { return m_userName; }
    // Empty becomes "---"; ";" becomes "." (it separates the fields of a dataset file);
    // at most UserNameMaxLen characters are kept.
    void UserName(const QString& strUserName);

    // The name the rules above make of a text.
    static QString Normalised(QString name);

private:
    bool m_successful = false;
    bool m_searchDevice = true;
    QString m_userName;
};
