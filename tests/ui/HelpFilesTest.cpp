#include "ui/app/HelpContext.h"

#include <QFile>
#include <QList>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <iterator>

namespace {

struct PageLinks {
    QSet<QString> ids;
    QSet<QString> targets; // "#x" links, without the "#"
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
    for (const QString& target : page.targets) {
        EXPECT_TRUE(page.ids.contains(target)) << name << ": link to #" << target.toStdString();
    }
}

} // namespace

TEST(HelpFiles, ProgramHelpHasASectionForEveryWindowAndNoDeadLink) {
    ExpectSections("MervexHlp_f.html",
                   QList<int>(std::begin(HelpContext::kAll), std::end(HelpContext::kAll)));
}

// In the Ardel 60-only mode the program windows and the pH protocol stay disabled, so the
// edition's help has the windows of the datasets and of the turbidity protocol.
TEST(HelpFiles, ArdelEditionHasTheSectionsOfItsWindowsAndNoDeadLink) {
    using namespace HelpContext;
    ExpectSections("HazemarkHlp_f.html", {kDocument, kCalProtocol, kLotEditor});
}
