#include "ui/app/ApplyCaptions.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

template <typename W>
W* Tagged(QWidget* parent, const QString& tag, const QString& design = QString()) {
    auto* w = new W(parent);
    w->setProperty("Tag", tag);
    if constexpr (std::is_base_of_v<QLabel, W> || std::is_base_of_v<QAbstractButton, W>) {
        w->setText(design);
    }
    return w;
}

} // namespace

TEST(ApplyCaptions, ReplacesNumbersByTextsWhereverTheyAreKept) {
    QMainWindow window;
    window.setProperty("Tag", QStringLiteral("1068"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("1000"));
    QAction* open = file->addAction(QStringLiteral("1002"));
    QAction* separator = file->addSeparator();
    QAction* plain = file->addAction(QStringLiteral("Exit now"));
    QToolBar* bar = window.addToolBar(QStringLiteral("tools"));
    QAction* tool = bar->addAction(QStringLiteral("New"));
    tool->setToolTip(QStringLiteral("1020"));
    tool->setWhatsThis(QStringLiteral("1021"));
    auto* panel = new QLabel(QStringLiteral("x"));
    panel->setToolTip(QStringLiteral("1182"));
    window.statusBar()->addPermanentWidget(panel);
    auto* central = new QWidget;
    window.setCentralWidget(central);
    auto* label = Tagged<QLabel>(central, QStringLiteral("1049"), QStringLiteral("design"));
    auto* button = Tagged<QPushButton>(central, QStringLiteral("1026"), QStringLiteral("design"));
    auto* frame = Tagged<QGroupBox>(central, QStringLiteral("1119 pairs"));
    frame->setToolTip(QStringLiteral("1120"));
    auto* tabs = new QTabWidget(central);
    tabs->addTab(new QWidget, QStringLiteral("t"));
    tabs->tabBar()->setTabData(0, QStringLiteral("1075"));
    tabs->setTabToolTip(0, QStringLiteral("1076"));
    auto* list = new QTreeWidget(central);
    list->setColumnCount(2);
    list->headerItem()->setData(0, kTagRole, QStringLiteral("1065"));
    list->headerItem()->setText(1, QStringLiteral("keep"));

    ApplyCaptions(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Groupes de données"));
    EXPECT_EQ(file->title(), QStringLiteral("&Fichier"));
    EXPECT_EQ(open->text(), QStringLiteral("&Ouvrir…"));
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_EQ(plain->text(), QStringLiteral("Exit now"));
    EXPECT_EQ(tool->toolTip(), QStringLiteral("Nouveau"));
    EXPECT_EQ(tool->whatsThis(), QStringLiteral("Ouvrir"));
    EXPECT_EQ(panel->toolTip(), QStringLiteral("Interface"));
    EXPECT_EQ(label->text(), QStringLiteral("Date:"));
    EXPECT_EQ(button->text(), QStringLiteral("OK"));
    EXPECT_EQ(button->toolTip(), QString());
    EXPECT_EQ(frame->title(), QStringLiteral("Couples de valeurs"));
    EXPECT_EQ(frame->toolTip(), QStringLiteral("Droite de calibration"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Programme"));
    EXPECT_EQ(tabs->tabToolTip(0), QStringLiteral("Programme No:"));
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Valeur"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("keep"));
}

TEST(ApplyCaptions, LeavesUntouchedWhatItCannotConvert) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("design title"));
    window.setProperty("Tag", QStringLiteral("1017")); // unassigned
    auto* empty = Tagged<QLabel>(&window, QString(), QStringLiteral("design"));
    auto* unassigned = Tagged<QLabel>(&window, QStringLiteral("1017"), QStringLiteral("d1"));
    auto* notNumber = Tagged<QLabel>(&window, QStringLiteral("abc"), QStringLiteral("d2"));
    // A label needs a whole number: a trailing word makes the step fail.
    auto* partial = Tagged<QLabel>(&window, QStringLiteral("1049x"), QStringLiteral("d3"));
    auto* button = Tagged<QPushButton>(&window, QStringLiteral("0"), QStringLiteral("d4"));
    button->setToolTip(QStringLiteral("plain tip"));

    ApplyCaptions(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("design title"));
    EXPECT_EQ(empty->text(), QStringLiteral("design"));
    EXPECT_EQ(unassigned->text(), QStringLiteral("d1"));
    EXPECT_EQ(notNumber->text(), QStringLiteral("d2"));
    EXPECT_EQ(partial->text(), QStringLiteral("d3"));
    EXPECT_EQ(button->text(), QStringLiteral("d4"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("plain tip"));
    ApplyCaptions(nullptr);
}

TEST(ApplyCaptions, ControlsShowTheWindowsFont) {
    QWidget window;
    QFont font(QStringLiteral("DejaVu Sans"), 13);
    window.setFont(font);
    auto* label = Tagged<QLabel>(&window, QStringLiteral("1049"));
    auto* button = Tagged<QPushButton>(&window, QStringLiteral("1026"));
    ApplyCaptions(&window);
    EXPECT_EQ(label->font(), window.font());
    EXPECT_EQ(button->font(), window.font());
}
