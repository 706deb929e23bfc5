#include "ui/archive/ArchiveJournal.h"

#include "app/TextTables.h"
#include "archive/ArchiveTrail.h"
#include "ui/app/DateFields.h"
#include "ui/archive/ArchiveWindowWork.h"
#include "ui/archive/AuditTrailModel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <memory>
#include <optional>

namespace {

// What a reading found, shared with the work, which may outlive the tab.
struct JournalFound {
    QList<AuditEvent> events;
};

} // namespace

ArchiveJournal::ArchiveJournal(ArchiveWindowWork& work, QWidget* parent)
    : QWidget(parent), m_work(work) {
    setObjectName(QStringLiteral("tabJournal"));
    const QDate today = QDate::currentDate();
    chkJournalPeriod = new QCheckBox(LoadResString(1660));
    chkJournalPeriod->setObjectName(QStringLiteral("chkJournalPeriod"));
    dtpJournalFrom = new QDateEdit(today.addMonths(-1));
    dtpJournalFrom->setObjectName(QStringLiteral("dtpJournalFrom"));
    dtpJournalTo = new QDateEdit(today);
    dtpJournalTo->setObjectName(QStringLiteral("dtpJournalTo"));
    UsePeriodFields(*chkJournalPeriod, *dtpJournalFrom, *dtpJournalTo);
    cmdJournalShow = new QPushButton(LoadResString(1746));
    cmdJournalShow->setObjectName(QStringLiteral("cmdJournalShow"));
    m_model = new AuditTrailModel(this);
    grdJournal = new QTableView;
    grdJournal->setObjectName(QStringLiteral("grdJournal"));
    grdJournal->setModel(m_model);
    grdJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdJournal->setWordWrap(false);
    grdJournal->verticalHeader()->hide();
    grdJournal->horizontalHeader()->setStretchLastSection(true);

    auto* to = new QLabel(LoadResString(1661));
    to->setBuddy(dtpJournalTo);
    auto* grid = new QGridLayout(this);
    grid->addWidget(chkJournalPeriod, 0, 0);
    grid->addWidget(dtpJournalFrom, 0, 1);
    grid->addWidget(to, 0, 2);
    grid->addWidget(dtpJournalTo, 0, 3);
    grid->addWidget(cmdJournalShow, 0, 5);
    grid->setColumnStretch(4, 1);
    grid->addWidget(grdJournal, 1, 0, 1, 6);
    grid->setRowStretch(1, 1);

    connect(cmdJournalShow, &QPushButton::clicked, this, &ArchiveJournal::Load);
}

void ArchiveJournal::Show() {
    if (m_outdated && !m_work.Running()) {
        Load();
    }
}

bool ArchiveJournal::Load() {
    if (m_work.Running()) {
        return false;
    }
    std::optional<QDate> from, to;
    if (chkJournalPeriod->isChecked()) {
        from = dtpJournalFrom->date();
        to = dtpJournalTo->date();
    }
    const auto found = std::make_shared<JournalFound>();
    const bool done = m_work.Run(
        [from, to, found](ArchiveDatabase& db, const ArchiveJob::Going& going) {
            // The trail keeps UTC dates: a day more on either side holds every event of the
            // user's days, which are then kept by their local date.
            const auto wider = [](std::optional<QDate> day, int by) {
                return day ? std::optional<QDate>(day->addDays(by)) : std::nullopt;
            };
            qint64 read = 0;
            return ArchiveTrail(db).Read(
                wider(from, -1), wider(to, 1), [&](const AuditEvent& event) {
                    const QDate local = event.at.toLocalTime().date();
                    if ((!from || local >= *from) && (!to || local <= *to)) {
                        found->events.append(event);
                    }
                    return going(++read);
                });
        },
        [](qint64) { return LoadResString(1678); });
    if (!done) {
        return false;
    }
    m_outdated = false;
    m_model->SetEvents(std::move(found->events));
    grdJournal->resizeColumnsToContents();
    grdJournal->scrollToBottom();
    return true;
}
