#include "app/TextTables.h"

#include "app/Errors.h"
#include "app/Language.h"
#include "app/RunTimeErrors.h"

#include <QFile>
#include <memory>

// The tables are compiled into the static core library; referencing its initialiser keeps
// the linker from dropping them.
static void InitCoreResources() {
    Q_INIT_RESOURCE(core);
}

namespace {

StringTable ReadTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString text =
            Language::Active() == Language::kEnglish
                ? QStringLiteral("Mervex cannot read its table of texts %1 (%2)")
                : QStringLiteral("Mervex ne peut pas lire sa table de textes %1 (%2)");
        throw MervexError(text.arg(path, file.errorString()));
    }
    return StringTable::FromText(QString::fromUtf8(file.readAll()));
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

StringTable BuiltInTable(const QString& folder, const QString& language) {
    InitCoreResources();
    return ReadTable(QStringLiteral(":/%1/%2.txt").arg(folder, BuiltInLanguage(language)));
}

} // namespace

namespace TextTables {

StringTable BuiltIn() {
    return ForLanguage(Language::kFrench);
}

StringTable ForLanguage(const QString& language) {
    return BuiltInTable(QStringLiteral("strings"), language);
}

StringTable RunTimeTextsFor(const QString& language) {
    return BuiltInTable(QStringLiteral("errors"), language);
}

const StringTable& RunTimeTexts() {
    auto& active = RunTimeSlot();
    if (!active) {
        active = std::make_unique<StringTable>(RunTimeTextsFor(Language::Active()));
    }
    return *active;
}

const StringTable& Active() {
    auto& active = ActiveSlot();
    if (!active) {
        const QString path = qEnvironmentVariable("MERVEX_STRINGS");
        active = std::make_unique<StringTable>(path.isEmpty() ? ForLanguage(Language::Active())
                                                              : ReadTable(path));
    }
    return *active;
}

void SetActive(StringTable table) {
    ActiveSlot() = std::make_unique<StringTable>(std::move(table));
}

void Reload() {
    ActiveSlot().reset();
    RunTimeSlot().reset();
}

} // namespace TextTables

QString LoadResString(int number) {
    if (const std::optional<QString> text = TextTables::Active().Find(number)) {
        return *text;
    }
    const int missing = static_cast<int>(RtError::ResourceNotFound);
    const QString description = TextTables::RunTimeTexts().Find(missing).value_or(
        QString::number(missing) + QStringLiteral(": %1"));
    throw MervexError(description.arg(number));
}
