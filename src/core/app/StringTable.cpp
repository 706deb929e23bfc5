#include "app/StringTable.h"

#include "app/Errors.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <memory>

// The table is compiled into the static core library; referencing its initialiser keeps
// the linker from dropping it.
static void InitCoreResources() {
    Q_INIT_RESOURCE(core);
}

namespace {

QString ReadUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw MervexError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    return QString::fromUtf8(file.readAll());
}

std::unique_ptr<StringTable>& ActiveSlot() {
    static std::unique_ptr<StringTable> active;
    return active;
}

} // namespace

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

StringTable StringTable::BuiltIn() {
    InitCoreResources();
    return FromText(ReadUtf8(QStringLiteral(":/strings/fr.txt")));
}

const StringTable& StringTable::Active() {
    auto& active = ActiveSlot();
    if (!active) {
        const QString path = qEnvironmentVariable("MERVEX_STRINGS");
        active =
            std::make_unique<StringTable>(path.isEmpty() ? BuiltIn() : FromText(ReadUtf8(path)));
    }
    return *active;
}

void StringTable::SetActive(StringTable table) {
    ActiveSlot() = std::make_unique<StringTable>(std::move(table));
}

QString StringTable::Text(int number) const {
    const auto it = m_texts.constFind(number);
    if (it == m_texts.constEnd()) {
        throw MervexError(QStringLiteral("Resource with identifier '%1' not found").arg(number));
    }
    return *it;
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

QString LoadResString(int number) {
    return StringTable::Active().Text(number);
}
