#include "ui/app/QuitRequests.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
// The handler may only write to a descriptor; the event loop reads the other end.
int g_pipe[2] = {-1, -1};

} // namespace

QuitRequests::QuitRequests(QWidget& main) : m_main(&main) {
    QCoreApplication::instance()->installEventFilter(this);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep their default action
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitRequests::SignalArrived);
    struct sigaction action {};
    action.sa_handler = &QuitRequests::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

QuitRequests::~QuitRequests() {
    if (m_notifier == nullptr) {
        return;
    }
    for (const int number : kSignals) {
        std::signal(number, SIG_DFL);
    }
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void QuitRequests::OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing else can be done in a handler.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void QuitRequests::SignalArrived() {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (m_main) {
        m_main->close();
    }
}

// The platform's quit while the main window is still open: the window closes in its own
// way. Once it has closed the quit goes on as usual and ends the event loop.
bool QuitRequests::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && m_main &&
        m_main->isVisible()) {
        m_main->close();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
