#include "app/StringTable.h"

#include "app/Errors.h"
#include "app/Language.h"
#include "app/RunTimeErrors.h"

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
        throw FileError(path, file, false);
    }
    return QString::fromUtf8(file.readAll());
}

std::unique_ptr<StringTable>& ActiveSlot() {
    static std::unique_ptr<StringTable> active;
    return active;
}

std::unique_ptr<StringTable>& RunTimeSlot() {
    static std::unique_ptr<StringTable> active;
    return active;
}

// A language without a table of its own reads the build's French one.
QString BuiltInLanguage(const QString& language) {
    return Language::Available().contains(language) ? language : Language::kFrench;
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
    return ForLanguage(Language::kFrench);
}

StringTable StringTable::ForLanguage(const QString& language) {
    InitCoreResources();
    return FromText(ReadUtf8(QStringLiteral(":/strings/%1.txt").arg(BuiltInLanguage(language))));
}

StringTable StringTable::RunTimeTextsFor(const QString& language) {
    InitCoreResources();
    return FromText(ReadUtf8(QStringLiteral(":/errors/%1.txt").arg(BuiltInLanguage(language))));
}

const StringTable& StringTable::RunTimeTexts() {
    auto& active = RunTimeSlot();
    if (!active) {
        active = std::make_unique<StringTable>(RunTimeTextsFor(Language::Active()));
    }
    return *active;
}

void StringTable::Reload() {
    ActiveSlot().reset();
    RunTimeSlot().reset();
}

const StringTable& StringTable::Active() {
    auto& active = ActiveSlot();
    if (!active) {
        const QString path = qEnvironmentVariable("MERVEX_STRINGS");
        active = std::make_unique<StringTable>(path.isEmpty() ? ForLanguage(Language::Active())
                                                              : FromText(ReadUtf8(path)));
    }
    return *active;
}

void StringTable::SetActive(StringTable table) {
    ActiveSlot() = std::make_unique<StringTable>(std::move(table));
}

QString StringTable::Text(int number) const {
    const auto it = m_texts.constFind(number);
    if (it == m_texts.constEnd()) {
        throw MervexError(RunTimeText(RtError::ResourceNotFound).arg(number));
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
