#include "meter/CLogin.h"

void CLogin::UserName(const QString& strUserName) {
    m_userName = Normalised(strUserName);
}

QString CLogin::Normalised(QString name) {
    if (name.isEmpty()) {
        return QStringLiteral("---");
    }
    name.replace(QLatin1Char(';'), QLatin1Char('.'));
    return name.left(UserNameMaxLen);
}
