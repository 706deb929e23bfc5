#include "app/StringTable.h"

#include <QStringList>
#include <algorithm>

StringTable StringTable::FromText(const QString& text) {
    StringTable table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0) {
            continue;
        }
        bool ok = false;
        const int number = line.left(tab).toInt(&ok);
        if (ok) {
            table.m_texts.insert(number, line.mid(tab + 1));
        }
    }
    return table;
}

std::optional<QString> StringTable::Find(int number) const {
    const auto it = m_texts.constFind(number);
    if (it == m_texts.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

QList<int> StringTable::Numbers() const {
    QList<int> numbers = m_texts.keys();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}
