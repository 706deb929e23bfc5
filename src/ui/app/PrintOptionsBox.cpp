#include "ui/app/PrintOptionsBox.h"

#include "app/TextTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

PrintOptionsBox::PrintOptionsBox(const PrintOptions& options, QWidget* parent,
                                 const QString& shownChoice)
    : QWidget(parent), m_shownOnly(options.shownOnly) {
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(LoadResString(1624)); // the print dialog's tab
    auto* label = new QLabel(LoadResString(1618), this);
    cboPrintLayout = new QComboBox(this);
    cboPrintLayout->setObjectName(QStringLiteral("cboPrintLayout"));
    cboPrintLayout->addItem(LoadResString(1616), static_cast<int>(PrintLayout::Table));
    cboPrintLayout->addItem(LoadResString(1617), static_cast<int>(PrintLayout::Lines));
    cboPrintLayout->setCurrentIndex(options.layout == PrintLayout::Lines ? 1 : 0);
    label->setBuddy(cboPrintLayout);
    chkPrintSignature = new QCheckBox(LoadResString(1619), this);
    chkPrintSignature->setObjectName(QStringLiteral("chkPrintSignature"));
    chkPrintSignature->setChecked(options.signature);
    chkPrintSignature->setEnabled(options.layout == PrintLayout::Table);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cboPrintLayout);
    layout->addWidget(chkPrintSignature);
    if (!shownChoice.isEmpty()) {
        chkPrintShownOnly = new QCheckBox(shownChoice, this);
        chkPrintShownOnly->setObjectName(QStringLiteral("chkPrintShownOnly"));
        chkPrintShownOnly->setChecked(options.shownOnly);
        layout->addWidget(chkPrintShownOnly);
    }
    layout->addStretch(1);
    const auto changed = [this] {
        chkPrintSignature->setEnabled(Options().layout == PrintLayout::Table);
        emit Changed(Options());
    };
    connect(cboPrintLayout, &QComboBox::currentIndexChanged, this, changed);
    connect(chkPrintSignature, &QCheckBox::toggled, this, changed);
    if (chkPrintShownOnly) {
        connect(chkPrintShownOnly, &QCheckBox::toggled, this, changed);
    }
}

PrintOptions PrintOptionsBox::Options() const {
    PrintOptions options;
    options.layout = static_cast<PrintLayout>(cboPrintLayout->currentData().toInt());
    options.signature = chkPrintSignature->isChecked();
    options.shownOnly = chkPrintShownOnly ? chkPrintShownOnly->isChecked() : m_shownOnly;
    return options;
}
