// The program's texts and Qt's own (message box buttons, file dialogs) in the language the
// user gets. Each suite runs under the desktop language its name says (see the build's test
// list), chooses the language as the desktop program does, and looks at real windows.
#include "UiFixture.h"
#include "app/Language.h"
#include "app/Paths.h"
#include "app/TextTables.h"
#include "ui/app/DesktopUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The language chosen as at the desktop program's start, Qt's translation included.
void ChooseLanguageAsTheProgram() {
    Language::Use(Language::Choose(Language::Setting(), Language::Desktop()));
    Language::InstallQtTranslation();
}

QStringList ButtonTexts(const QWidget* window) {
    QStringList texts;
    for (const QDialogButtonBox* box : window->findChildren<QDialogButtonBox*>()) {
        for (const QAbstractButton* button : box->buttons()) {
            texts << button->text();
        }
    }
    texts.sort();
    return texts;
}

QStringList LabelTexts(const QWidget* window) {
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            texts << label->text();
        }
    }
    texts.sort();
    return texts;
}

// The button texts of the message box DesktopUi shows for a Yes/No/Cancel question.
QStringList QuestionButtons() {
    DesktopUi ui;
    QStringList texts;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            for (const QAbstractButton* button : message->buttons()) {
                texts << button->text();
            }
            message->button(QMessageBox::Cancel)->click();
        } else if (box) {
            box->close();
        }
    });
    EXPECT_EQ(ui.Message(QStringLiteral("?"), QStringLiteral("?"), MsgIcon::Question,
                         MsgButtons::YesNoCancel),
              MsgResult::Cancel);
    texts.sort();
    return texts;
}

struct FileDialogTexts {
    QStringList buttons;
    QStringList labels;
};

// The texts of DesktopUi's file dialog (save or open), which is then cancelled.
FileDialogTexts FileDialog(bool save) {
    DesktopUi ui;
    FileDialogTexts texts;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (qobject_cast<QFileDialog*>(dialog)) {
            texts.buttons = ButtonTexts(dialog);
            texts.labels = LabelTexts(dialog);
        }
        if (dialog) {
            dialog->close();
        }
    });
    FileDialogRequest request;
    request.title = QStringLiteral("?");
    request.filter = QStringLiteral("CSV (*.csv)|*.csv");
    EXPECT_FALSE(save ? ui.SaveFileDialog(request) : ui.OpenFileDialog(request));
    return texts;
}

QStringList MenuTitles(const frmMain& main) {
    QStringList titles;
    for (const QAction* top : main.menuBar()->actions()) {
        titles << top->text();
    }
    return titles;
}

} // namespace

// Run under LANG=fr_FR.UTF-8.
TEST(FrenchDesktop, QtsButtonsAndFileDialogsReadFrench) {
    ChooseLanguageAsTheProgram();
    ASSERT_EQ(Language::Active(), Language::kFrench);
    EXPECT_EQ(QuestionButtons(), QStringList({"&Non", "&Oui", "Annuler"}));
    const FileDialogTexts save = FileDialog(true);
    EXPECT_EQ(save.buttons, QStringList({"&Enregistrer", "Annuler"}));
    EXPECT_TRUE(save.labels.contains("Voir dans :")) << save.labels.join('|').toStdString();
    EXPECT_TRUE(save.labels.contains("Fichiers de type :")) << save.labels.join('|').toStdString();
    EXPECT_EQ(FileDialog(false).buttons, QStringList({"&Ouvrir", "Annuler"}));
}

// Run under LANG=fr_FR.UTF-8 too: the setting wins over the desktop.
TEST(EnglishSetting, MenusMessagesAndFileDialogsReadEnglish) {
    ProgramFolder folder("[General]\r\nLanguage=en\r\n");
    ChooseLanguageAsTheProgram();
    ASSERT_EQ(Language::Active(), Language::kEnglish);
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("Lab")));
    EXPECT_EQ(MenuTitles(*f.main).mid(0, 3), QStringList({"&File", "&Edit", "&Login"}));
    EXPECT_EQ(f.main->StatusBarText(1), QStringLiteral("offline"));
    f.main->services().ui.Message(LoadResString(1055), LoadResString(1054), MsgIcon::Information);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("No datasets imported!"));
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Information"));
    EXPECT_EQ(QuestionButtons(), QStringList({"&No", "&Yes", "Cancel"}));
    const FileDialogTexts save = FileDialog(true);
    EXPECT_EQ(save.buttons, QStringList({"&Save", "Cancel"}));
    EXPECT_TRUE(save.labels.contains("Look in:")) << save.labels.join('|').toStdString();
    EXPECT_EQ(FileDialog(false).buttons, QStringList({"&Open", "Cancel"}));
}

// Run under LANG=C: exactly the build's French table, and Qt's French texts.
TEST(CLocale, EveryTextIsTheFrenchOne) {
    ChooseLanguageAsTheProgram();
    ASSERT_EQ(Language::Active(), Language::kFrench);
    QFile table(QStringLiteral(MERVEX_SOURCE_DIR "/src/core/app/strings/fr.txt"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    int compared = 0;
    for (const QString& line : QString::fromUtf8(table.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0) {
            EXPECT_EQ(LoadResString(line.left(tab).toInt()), line.mid(tab + 1))
                << line.toStdString();
            ++compared;
        }
    }
    EXPECT_GE(compared, 226);
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("Lab")));
    EXPECT_EQ(MenuTitles(*f.main).mid(0, 3), QStringList({"&Fichier", "&Edition", "&Login"}));
    EXPECT_EQ(QuestionButtons(), QStringList({"&Non", "&Oui", "Annuler"}));
    EXPECT_EQ(FileDialog(true).buttons, QStringList({"&Enregistrer", "Annuler"}));
}
