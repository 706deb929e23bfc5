#pragma once

#include <QObject>

// "The program is talking to the meter or running a loop that lets events through."
// While it is set, the windows keep every command that would start another conversation,
// replace or close a document or open another meter window disabled, and a command that
// still arrives (a double-click, a shortcut queued before the update) is ignored.
//
// The state is held, not toggled: every operation holds it for as long as it runs, holds
// nest, and the state ends with the last one. Only the edges are announced.
class BusyState : public QObject {
    Q_OBJECT
public:
    class Hold {
    public:
        explicit Hold(BusyState& state);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        BusyState& m_state;
    };

    bool Busy() const { return m_depth > 0; }

    // Set while the user's request to end the program waits for the running operation:
    // the operation is stopped for that reason, and what it would report or open is left
    // out, so that nothing holds the program open. Cleared when the user keeps it open.
    void SetQuitting(bool quitting) { m_quitting = quitting || m_endingBySignal; }
    bool Quitting() const { return m_quitting; }
    // A termination signal ends the program: Quitting() for good, and nothing may ask the
    // user any more (nobody may be there to answer); unsaved documents stay as recovery
    // copies instead.
    void SetEndingBySignal() { m_quitting = m_endingBySignal = true; }
    bool EndingBySignal() const { return m_endingBySignal; }

    // Runs a user's command unless an operation is running; true when it ran.
    template <typename Command> bool RunCommand(Command&& command) {
        if (Busy()) {
            return false;
        }
        command();
        return true;
    }

signals:
    void Changed(bool busy);

private:
    void Enter();
    void Leave();

    int m_depth = 0;
    bool m_quitting = false;
    bool m_endingBySignal = false;
};
