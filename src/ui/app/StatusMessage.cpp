#include "ui/app/StatusMessage.h"

#include "app/TextTables.h"

#include <QDir>
#include <QMainWindow>
#include <QStatusBar>

namespace {

constexpr int kShownMs = 8000;

} // namespace

void ShowStatusMessage(QWidget* from, const QString& text) {
    for (QWidget* w = from; w != nullptr; w = w->parentWidget()) {
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            main->statusBar()->showMessage(text, kShownMs);
            return;
        }
    }
}

void ShowSavedMessage(QWidget* from, const QString& path) {
    ShowStatusMessage(from, LoadResString(1762).arg(QDir::toNativeSeparators(path)));
}

void ShowExportedMessage(QWidget* from, const QString& path) {
    ShowStatusMessage(from, LoadResString(1763).arg(QDir::toNativeSeparators(path)));
}

void ShowPrintedMessage(QWidget* from, const QString& name) {
    ShowStatusMessage(from, LoadResString(1764).arg(name));
}
