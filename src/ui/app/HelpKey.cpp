#include "ui/app/HelpKey.h"

#include "app/Paths.h"
#include "ui/app/HelpContext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(ShowHelp showHelp, QObject* parent)
    : QObject(parent), m_showHelp(std::move(showHelp)) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::HelpContents)) {
        return false;
    }
    // A held key would open one browser tab per repeat.
    if (!key->isAutoRepeat()) {
        m_showHelp(HelpContextOf(static_cast<QWidget*>(watched)));
    }
    return true;
}

QString HelpPage(const QString& designedFile) {
    const QFileInfo designed(designedFile);
    return JoinPath(designed.path(), designed.completeBaseName() + QStringLiteral(".html"));
}

QUrl HelpUrl(const QString& page, int context) {
    QUrl url = QUrl::fromLocalFile(page);
    if (context != 0) {
        url.setFragment(QString::number(context));
    }
    return url;
}
