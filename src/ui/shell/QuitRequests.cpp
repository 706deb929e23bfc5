#include "ui/shell/QuitRequests.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
// The handler may only write to a descriptor and post a semaphore: the event loop reads
// the pipe, the deadline's thread waits on the semaphore.
int g_pipe[2] = {-1, -1};
sem_t g_signalled;
std::atomic<int> g_signal{0};

// Waits for a post until `deadline` (none: for ever); false when the time ran out.
bool WaitForPost(const timespec* deadline) {
    for (;;) {
        const int result =
            deadline ? sem_timedwait(&g_signalled, deadline) : sem_wait(&g_signalled);
        if (result == 0) {
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace

QuitRequests::QuitRequests(QWidget& main, std::function<void()> endBySignal)
    : m_main(&main), m_endBySignal(std::move(endBySignal)) {
    QCoreApplication::instance()->installEventFilter(this);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0 || sem_init(&g_signalled, 0, 0) != 0) {
        return; // the signals keep their default action
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitRequests::SignalArrived);
    m_deadline = std::thread([this] { EndAfterGrace(m_disarmed); });
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
    Disarm();
    m_deadline.join();
    sem_destroy(&g_signalled);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_signal = 0;
}

void QuitRequests::OnSignal(int number) {
    const int saved = errno;
    g_signal = number;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing else can be done in a handler.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    sem_post(&g_signalled);
    errno = saved;
}

void QuitRequests::EndAfterGrace(const std::atomic<bool>& disarmed) {
    if (!WaitForPost(nullptr) || disarmed) {
        return;
    }
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += kGraceSeconds;
    // A post within the grace is the window's close (disarmed) or a second signal.
    WaitForPost(&deadline);
    if (!disarmed) {
        // The unsaved imports are on disk since their import ended; an archive transaction
        // left open is rolled back by the database.
        ::_exit(128 + g_signal.load());
    }
}

void QuitRequests::Disarm() {
    if (m_notifier != nullptr && !m_disarmed.exchange(true)) {
        sem_post(&g_signalled);
    }
}

void QuitRequests::SignalArrived() {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (m_main && m_main->isVisible()) {
        m_endBySignal();
    }
}

bool QuitRequests::eventFilter(QObject* watched, QEvent* event) {
    // The platform's quit while the main window is still open: the window closes in its own
    // way. Once it has closed the quit goes on as usual and ends the event loop.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && m_main &&
        m_main->isVisible()) {
        m_main->close();
        event->ignore();
        return true;
    }
    if (watched == m_main && event->type() == QEvent::Hide && !event->spontaneous()) {
        Disarm();
    }
    return QObject::eventFilter(watched, event);
}
