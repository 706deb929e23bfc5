#include "ui/app/ApplyCaptions.h"

#include "app/NumberText.h"
#include "app/TextTables.h"
#include "ui/app/AccessibleNames.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const StringTable& Table() {
    return TextTables::Active();
}

// The text for a design value holding a whole number, if that number is assigned.
std::optional<QString> TextForWhole(const QString& design) {
    const auto number = WholeNumber(design);
    return number ? Table().Find(*number) : std::nullopt;
}

// The text for the leading number of a design value, if positive and assigned.
std::optional<QString> TextForLeading(const QString& design) {
    const double n = LeadingNumber(design);
    if (n < 1 || n > 32767) {
        return std::nullopt;
    }
    return Table().Find(static_cast<int>(n));
}

QString Tag(const QObject* object) {
    return object->property("Tag").toString();
}

void ApplyFont(QWidget* window) {
    // Strings 20 and 21 name the font; this build's table has neither, so windows keep
    // the font they were designed with.
    QFont font = window->font();
    bool changed = false;
    if (const auto name = Table().Find(20)) {
        font.setFamily(*name);
        changed = true;
    }
    if (const auto sizeText = Table().Find(21)) {
        if (const auto size = WholeNumber(*sizeText); size && *size > 0) {
            font.setPointSize(*size);
            changed = true;
        }
    }
    if (!changed) {
        return;
    }
    window->setFont(font);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->setFont(font);
    }
}

void ApplyStatusTip(QAction* action) {
    if (const auto tip = TextForWhole(action->statusTip())) {
        action->setStatusTip(*tip);
    }
}

void ApplyToAction(QAction* action) {
    if (action->isSeparator()) {
        return;
    }
    ApplyStatusTip(action);
    // A tip of its own (not the one Qt derives from the text) holds its own number.
    if (action->toolTip() != action->iconText()) {
        if (const auto tip = TextForWhole(action->toolTip())) {
            action->setToolTip(*tip);
        }
    }
    if (const auto text = TextForWhole(action->text())) {
        action->setText(*text);
    }
}

void ApplyToToolBar(QToolBar* bar) {
    for (QAction* action : bar->actions()) {
        // The text is what a screen reader says for an icon-only button.
        if (const auto text = TextForWhole(action->text())) {
            action->setText(*text);
        }
        if (const auto tip = TextForWhole(action->toolTip())) {
            action->setToolTip(*tip);
        }
        if (const auto description = TextForWhole(action->whatsThis())) {
            action->setWhatsThis(*description);
        }
    }
}

void ApplyToTabs(QTabWidget* tabs) {
    QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto text = TextForWhole(bar->tabData(i).toString())) {
            tabs->setTabText(i, *text);
        }
        if (const auto tip = TextForWhole(tabs->tabToolTip(i))) {
            tabs->setTabToolTip(i, *tip);
        }
    }
}

void ApplyToStatusBar(QStatusBar* bar) {
    // The panels may sit in a row of their own inside the bar.
    for (QLabel* panel : bar->findChildren<QLabel*>()) {
        if (const auto tip = TextForWhole(panel->toolTip())) {
            panel->setToolTip(*tip);
        }
    }
}

void ApplyToHeaders(QWidget* control) {
    if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
        QTreeWidgetItem* header = tree->headerItem();
        for (int c = 0; header && c < header->columnCount(); ++c) {
            if (const auto text = TextForWhole(header->data(c, kTagRole).toString())) {
                header->setText(c, *text);
            }
        }
    } else if (auto* table = qobject_cast<QTableWidget*>(control)) {
        for (int c = 0; c < table->columnCount(); ++c) {
            QTableWidgetItem* item = table->horizontalHeaderItem(c);
            if (!item) {
                continue;
            }
            if (const auto text = TextForWhole(item->data(kTagRole).toString())) {
                item->setText(*text);
            }
        }
    }
}

void ApplyToOtherControl(QWidget* control) {
    if (const auto caption = TextForLeading(Tag(control))) {
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(*caption);
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            frame->setTitle(*caption);
        }
    }
    if (const auto tip = TextForLeading(control->toolTip())) {
        control->setToolTip(*tip);
    }
}

void ApplyToControl(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (const auto text = TextForWhole(Tag(label))) {
            label->setText(*text);
        }
    } else if (auto* bar = qobject_cast<QToolBar*>(control)) {
        ApplyToToolBar(bar);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        ApplyToTabs(tabs);
    } else if (auto* status = qobject_cast<QStatusBar*>(control)) {
        ApplyToStatusBar(status);
    } else if (qobject_cast<QTreeWidget*>(control) || qobject_cast<QTableWidget*>(control)) {
        ApplyToHeaders(control);
    } else if (qobject_cast<QMenu*>(control) == nullptr &&
               qobject_cast<QTabBar*>(control) == nullptr) {
        ApplyToOtherControl(control);
    }
}

void ApplyToWindow(QWidget* window);

} // namespace

void ApplyCaptions(QWidget* window) {
    if (!window) {
        return;
    }
    try {
        ApplyToWindow(window);
    } catch (...) {
        // A broken or missing string table leaves the design texts in place.
    }
}

namespace {

void ApplyToWindow(QWidget* window) {
    if (const auto caption = TextForWhole(Tag(window))) {
        window->setWindowTitle(*caption);
    }
    ApplyFont(window);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        ApplyToControl(control);
    }
    // Menu items: every action of every menu (menus are children of the window).
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (const auto title = TextForWhole(menu->title())) {
            menu->setTitle(*title);
        }
        for (QAction* action : menu->actions()) {
            if (!action->menu()) {
                ApplyToAction(action);
            } else {
                ApplyStatusTip(action);
            }
        }
    }
    NameControls(window);
}

} // namespace
