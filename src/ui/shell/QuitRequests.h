#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <thread>

class QSocketNotifier;
class QWidget;

// Requests to end the program that come from outside its windows. The desktop session
// ending (the platform's quit request) becomes a close of the main window, which stops a
// running operation, closes the dialogs above it and asks the questions about unsaved data:
// the session waits for the answers. Without this the platform's own quit tries the topmost
// dialog only and gives up when it stays open.
//
// A termination signal (SIGTERM, SIGHUP, SIGINT: a shutdown, a service manager, a script or
// Ctrl+C in the terminal) runs `endBySignal`, which ends the program without any question,
// keeping the unsaved documents as recovery copies. Whoever sent it waits for nobody: should
// the program not have ended kGraceSeconds after the signal (its one thread held up in a call
// that does not let events through, such as a database that makes it wait for a lock) it ends
// at once with status 128 + the signal's number. A second signal ends it at once too.
// One instance per program: the signals have one handler.
class QuitRequests : public QObject {
public:
    static constexpr int kGraceSeconds = 3;

    QuitRequests(QWidget& main, std::function<void()> endBySignal);
    ~QuitRequests() override;
    QuitRequests(const QuitRequests&) = delete;
    QuitRequests& operator=(const QuitRequests&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SignalArrived();
    // Once the main window has closed nothing more is needed of the deadline.
    void Disarm();
    static void OnSignal(int number);
    static void EndAfterGrace(const std::atomic<bool>& disarmed);

    QPointer<QWidget> m_main;
    std::function<void()> m_endBySignal;
    QSocketNotifier* m_notifier = nullptr;
    std::atomic<bool> m_disarmed{false};
    std::thread m_deadline;
};
