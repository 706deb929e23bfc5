#pragma once

#include "data/PrintOptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

// The printout's layout as the print dialog and the preview offer it: "Tableau" or
// "Liste", and the signature block (only with the table).
class PrintOptionsBox : public QWidget {
    Q_OBJECT
public:
    PrintOptionsBox(const PrintOptions& options, QWidget* parent);

    PrintOptions Options() const;

    QComboBox* cboPrintLayout = nullptr;
    QCheckBox* chkPrintSignature = nullptr;

signals:
    void Changed(const PrintOptions& options);
};
