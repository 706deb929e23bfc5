#include "ui/app/BusyContent.h"

#include "app/BusyState.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

class BusyWindowFilter : public QObject {
public:
    BusyWindowFilter(BusyState& busy, QObject* parent) : QObject(parent), m_busy(&busy) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window can outlive the program's services (a document's child window is
        // destroyed after the main window released them): without them nothing is busy.
        if (m_busy.isNull() || !m_busy->Busy()) {
            return QObject::eventFilter(watched, event);
        }
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<BusyState> m_busy;
};

} // namespace

QWidget* NewBusyContent(QWidget& window, BusyState& busy) {
    auto* content = new QWidget(&window);
    content->setObjectName(QStringLiteral("busyContent"));
    auto* frame = new QVBoxLayout(&window);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(content);
    content->setEnabled(!busy.Busy());
    QObject::connect(&busy, &BusyState::Changed, content,
                     [content](bool isBusy) { content->setEnabled(!isBusy); });
    window.installEventFilter(new BusyWindowFilter(busy, &window));
    return content;
}
