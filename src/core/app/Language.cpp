#include "app/Language.h"

#include "app/CIni.h"
#include "app/Paths.h"
#include "app/TextTables.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <optional>

namespace {

std::optional<QString>& ActiveSlot() {
    static std::optional<QString> active;
    return active;
}

// "fr-FR", "fr_FR.UTF-8", "en" -> "fr", "fr", "en"; the C locale names no language.
QString LanguageCode(const QString& name) {
    const QLocale locale(name);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage) {
        return QString();
    }
    return QLocale::languageToCode(locale.language(), QLocale::ISO639Part1);
}

std::unique_ptr<QTranslator>& QtTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

namespace Language {

QStringList Available() {
    return {kFrench, kEnglish};
}

QString Choose(const QString& setting, const QStringList& desktop) {
    const QString wanted = setting.trimmed().toLower();
    if (Available().contains(wanted)) {
        return wanted;
    }
    // Only the desktop's first choice counts: a desktop that prefers German and accepts
    // English still gets the build's own French, as before there was an English table.
    if (!desktop.isEmpty()) {
        const QString code = LanguageCode(desktop.front());
        if (Available().contains(code)) {
            return code;
        }
    }
    return kFrench;
}

QStringList Desktop() {
    return QLocale::system().uiLanguages();
}

QString Setting() {
    QFile file(SettingsIniPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return LookupIniValue(QString::fromUtf8(file.readAll()), QStringLiteral("General"),
                          QStringLiteral("Language"), QString(), 256);
}

QString Active() {
    std::optional<QString>& active = ActiveSlot();
    if (!active) {
        active = Choose(Setting(), Desktop());
    }
    return *active;
}

void Use(const QString& language) {
    ActiveSlot() = Available().contains(language) ? language : kFrench;
    TextTables::Reload();
    if (QtTranslator()) {
        InstallQtTranslation();
    }
}

QLocale FormatLocale(const QString& language, const QLocale& desktop) {
    const QLocale wanted(language);
    if (desktop.language() == wanted.language()) {
        return desktop;
    }
    return wanted;
}

void UseFormats() {
    QLocale::setDefault(FormatLocale(Active(), QLocale::system()));
}

bool InstallQtTranslation() {
    std::unique_ptr<QTranslator>& translator = QtTranslator();
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
    }
    translator = std::make_unique<QTranslator>();
    const bool loaded = translator->load(QStringLiteral("qtbase_") + Active(),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return loaded && QCoreApplication::installTranslator(translator.get());
}

} // namespace Language
