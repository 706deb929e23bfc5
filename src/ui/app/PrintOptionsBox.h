#pragma once

#include "data/PrintOptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

// The printout's layout as the print dialog and the preview offer it: "Tableau" or
// "Liste", the signature block (only with the table) and, when `shownChoice` names it,
// "only the rows shown" of a filtered or sorted table.
class PrintOptionsBox : public QWidget {
    Q_OBJECT
public:
    PrintOptionsBox(const PrintOptions& options, QWidget* parent,
                    const QString& shownChoice = QString());

    PrintOptions Options() const;

    QComboBox* cboPrintLayout = nullptr;
    QCheckBox* chkPrintSignature = nullptr;
    QCheckBox* chkPrintShownOnly = nullptr; // null without the choice

private:
    bool m_shownOnly = true; // the choice kept when it is not offered

signals:
    void Changed(const PrintOptions& options);
};
