#pragma once

#include "data/RecordFilter.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

// The bar above the document's table that narrows the records shown: program (or unit),
// date range, state and a free text. Typing waits for a short pause before it filters, so
// a million records never slow the keyboard down. Escape hides the bar and shows every
// record again.
class DatasetFilterBar : public QWidget {
    Q_OBJECT
public:
    explicit DatasetFilterBar(QWidget* parent);

    // A new dataset: its programs and the dates the range starts from; the filter clears.
    void SetDataset(const QList<RecordGroup>& groups, const QDate& first, const QDate& last);
    RecordFilter Filter() const;
    // Shows the bar with the focus in the text field.
    void Open();
    // Hides the bar and clears its filter.
    void Close();

    static constexpr int kTypingPauseMs = 250;

    QLabel* lblProgram = nullptr;
    QComboBox* cboProgram = nullptr;
    QCheckBox* chkFrom = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QCheckBox* chkTo = nullptr;
    QDateEdit* dtpTo = nullptr;
    QLabel* lblState = nullptr;
    QComboBox* cboState = nullptr;
    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QToolButton* cmdHideFilter = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    void FilterChanged(const RecordFilter& filter);
    void Closed();

private:
    void Changed();
    void Clear();

    QTimer* m_typing = nullptr;
};
