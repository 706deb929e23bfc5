#include "DialogDriver.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

DialogDriver::DialogDriver() {
    qApp->installEventFilter(this);
}

DialogDriver::~DialogDriver() {
    qApp->removeEventFilter(this);
    EXPECT_TRUE(m_expected.empty()) << m_expected.size() << " expected dialog(s) never shown";
}

bool DialogDriver::eventFilter(QObject* watched, QEvent* event) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || !dialog || !dialog->isModal()) {
        return false;
    }
    QPointer<QDialog> guarded(dialog);
    if (!m_expected.empty() &&
        qstrcmp(dialog->metaObject()->className(), m_expected.front().className) == 0) {
        auto act = std::move(m_expected.front().act);
        m_expected.pop_front();
        ++m_handled;
        QTimer::singleShot(0, dialog, [guarded, act] {
            if (guarded) {
                act(guarded);
            }
        });
    } else {
        ADD_FAILURE() << "unexpected dialog " << dialog->metaObject()->className();
        QTimer::singleShot(0, dialog, [guarded] {
            if (guarded) {
                guarded->reject();
            }
        });
    }
    return false;
}
