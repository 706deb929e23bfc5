#pragma once

#include <QWidget>

class ArchiveWindowWork;
class AuditTrailModel;
class QCheckBox;
class QDateEdit;
class QPushButton;
class QTableView;

// The Archive window's "Journal" tab: the archive's audit trail, of a period or whole, in
// the order it was written, read off the window's thread under the wait dialog. The
// period is of the user's own dates: an event belongs to the day its local time falls on.
class ArchiveJournal : public QWidget {
    Q_OBJECT
public:
    ArchiveJournal(ArchiveWindowWork& work, QWidget* parent = nullptr);

    QCheckBox* chkJournalPeriod = nullptr;
    QDateEdit* dtpJournalFrom = nullptr;
    QDateEdit* dtpJournalTo = nullptr;
    QPushButton* cmdJournalShow = nullptr;
    QTableView* grdJournal = nullptr;
    const AuditTrailModel& Model() const { return *m_model; }

    // Reads the events of the period; false (after one message) when it cannot, or when
    // the user stopped it.
    bool Load();
    // The archive changed since the events were read: Show reads them again.
    void Outdated() { m_outdated = true; }
    // Called as the tab comes into view: reads the trail the first time and once outdated.
    void Show();

private:
    ArchiveWindowWork& m_work;
    AuditTrailModel* m_model = nullptr;
    bool m_outdated = true;
};
