#include "ui/app/HelpContext.h"

#include <QFile>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <iterator>
#include <utility>

namespace {

struct PageLinks {
    QSet<QString> ids;
    QStringList idOrder;   // the ids in the order of the page
    QSet<QString> targets; // "#x" links, without the "#"
    QString language;      // the lang attribute of <html>
    QStringList files;     // files beside the page that it links (its stylesheet)
    QString error;
};

// The ids and in-page links of a shipped help page, read as XML so that a broken tag fails.
PageLinks ReadPage(const char* name) {
    PageLinks links;
    QFile file(QStringLiteral(MERVEX_BIN_DIR "/Help/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        links.error = file.errorString();
        return links;
    }
    QXmlStreamReader xml(&file);
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement()) {
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute(QStringLiteral("id"))) {
            links.ids << attributes.value(QStringLiteral("id")).toString();
            links.idOrder << attributes.value(QStringLiteral("id")).toString();
        }
        if (xml.name() == QLatin1String("link")) {
            links.files << attributes.value(QStringLiteral("href")).toString();
        }
        if (xml.name() == QLatin1String("html")) {
            links.language = attributes.value(QStringLiteral("lang")).toString();
        }
        const QString href = attributes.value(QStringLiteral("href")).toString();
        if (href.startsWith(QLatin1Char('#'))) {
            links.targets << href.mid(1);
        }
    }
    if (xml.hasError()) {
        links.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    }
    return links;
}

void ExpectSections(const char* name, const QList<int>& contexts) {
    const PageLinks page = ReadPage(name);
    ASSERT_TRUE(page.error.isEmpty()) << name << ": " << page.error.toStdString();
    for (int context : contexts) {
        EXPECT_TRUE(page.ids.contains(QString::number(context))) << name << ": " << context;
    }
    for (const QString& file : page.files) {
        EXPECT_TRUE(QFile::exists(QStringLiteral(MERVEX_BIN_DIR "/Help/") + file))
            << name << ": " << file.toStdString();
    }
    EXPECT_FALSE(page.files.isEmpty()) << name << ": no stylesheet";
    for (const QString& target : page.targets) {
        EXPECT_TRUE(page.ids.contains(target)) << name << ": link to #" << target.toStdString();
    }
}

} // namespace

TEST(HelpFiles, ProgramHelpHasASectionForEveryWindowAndNoDeadLink) {
    for (const char* name : {"MervexHlp_f.html", "MervexHlp_e.html"}) {
        ExpectSections(name,
                       QList<int>(std::begin(HelpContext::kAll), std::end(HelpContext::kAll)));
    }
}

// The English page is the French one translated: the same sections, in the same order, and
// the same in-page links, so that either language's table of contents works alike.
TEST(HelpFiles, EnglishPagesHaveTheFrenchPagesSections) {
    for (const auto& [french, english] : {std::pair{"MervexHlp_f.html", "MervexHlp_e.html"},
                                          {"HazemarkHlp_f.html", "HazemarkHlp_e.html"}}) {
        const PageLinks f = ReadPage(french);
        const PageLinks e = ReadPage(english);
        ASSERT_TRUE(f.error.isEmpty() && e.error.isEmpty()) << english;
        EXPECT_EQ(e.idOrder, f.idOrder) << english;
        EXPECT_EQ(e.targets, f.targets) << english;
        EXPECT_EQ(e.language, QStringLiteral("en")) << english;
        EXPECT_EQ(f.language, QStringLiteral("fr")) << french;
    }
}

// In the Ardel 60-only mode the program windows and the pH protocol stay disabled, so the
// edition's help has the windows of the datasets, their tools, the archive, printing and the
// turbidity protocol.
TEST(HelpFiles, ArdelEditionHasTheSectionsOfItsWindowsAndNoDeadLink) {
    using namespace HelpContext;
    for (const char* name : {"HazemarkHlp_f.html", "HazemarkHlp_e.html"}) {
        ExpectSections(
            name, {kDocument, kStatistics, kGraph, kArchive, kPrinting, kCalProtocol, kLotEditor});
    }
}
