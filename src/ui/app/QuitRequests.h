#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

// Requests to end the program that come from outside its windows: the desktop session
// ending (the platform's quit request) and the termination signals a session, a service
// manager or a terminal sends (SIGTERM, SIGHUP, SIGINT). Each becomes a close of the main
// window, which stops a running operation, closes the dialogs above it, asks the questions
// about unsaved data and ends the program. Without this the platform's own quit tries the
// topmost dialog only and gives up when it stays open, and a signal ends the program
// wherever it is. One instance per program: the signals have one handler.
class QuitRequests : public QObject {
public:
    explicit QuitRequests(QWidget& main);
    ~QuitRequests() override;
    QuitRequests(const QuitRequests&) = delete;
    QuitRequests& operator=(const QuitRequests&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SignalArrived();
    static void OnSignal(int number);

    QPointer<QWidget> m_main;
    QSocketNotifier* m_notifier = nullptr;
};
