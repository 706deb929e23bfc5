#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

class QHBoxLayout;
class QLabel;
class QStatusBar;

// The seven panels of the main window's status bar: port, baud rate, meter model, serial
// number, user, and the current date and time, which a timer keeps current. Each panel is
// at least as wide as its text whenever the window is wide enough for all of them.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 7;

    explicit StatusPanels(QStatusBar* bar);

    // Panels are numbered from 1.
    void SetText(int panel, const QString& text);
    QString Text(int panel) const;
    void SetToolTip(int panel, const QString& tip);

    void UpdateClock();

private:
    QLabel* Panel(int panel) const;

    QHBoxLayout* m_row = nullptr;
    QList<QLabel*> m_panels;
    QTimer m_clock;
};
