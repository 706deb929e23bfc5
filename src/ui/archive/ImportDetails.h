#pragma once

#include <QGroupBox>

class QLabel;
class QLineEdit;
struct ImportSummary;

// Under the Archive window's records, the import of the current one: who archived it
// (login name, operating-system account, host, program version, database role), when, its
// counts, its digest (in a field of its own, to be copied whole and compared with the
// command line's), and its review or "non vérifié".
class ImportDetails : public QGroupBox {
    Q_OBJECT
public:
    explicit ImportDetails(QWidget* parent = nullptr);

    // Nothing: no record is current, or the archive told nothing of its import.
    void Show(const ImportSummary* import);

    QLabel* lblImport = nullptr;
    QLabel* lblDigest = nullptr;
    QLineEdit* txtDigest = nullptr;
    QLabel* lblReview = nullptr;
};
