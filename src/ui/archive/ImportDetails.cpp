#include "ui/archive/ImportDetails.h"

#include "app/TextTables.h"
#include "archive/ImportReview.h"
#include "archive/TraceText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLabel* TextLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QString Review(const ImportSummary& import) {
    if (!import.review) {
        return LoadResString(1868);
    }
    QString text = LoadResString(1867).arg(TraceText::LocalTime(import.review->at),
                                           TraceText::Identity(import.review->who));
    if (!import.review->reason.isEmpty()) {
        text += QLatin1Char('\n') + import.review->reason;
    }
    return text;
}

} // namespace

ImportDetails::ImportDetails(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraImport"));
    lblImport = TextLabel("lblImport");
    txtDigest = new QLineEdit;
    txtDigest->setObjectName(QStringLiteral("txtDigest"));
    txtDigest->setReadOnly(true);
    lblDigest = new QLabel(LoadResString(1866));
    lblDigest->setObjectName(QStringLiteral("lblDigest"));
    lblDigest->setBuddy(txtDigest);
    lblReview = TextLabel("lblReview");
    // Under the table, which keeps the window's width for the records' columns.
    auto* digest = new QHBoxLayout;
    digest->addWidget(lblDigest);
    digest->addWidget(txtDigest, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblImport);
    layout->addLayout(digest);
    layout->addWidget(lblReview);
    layout->addStretch();
    Show(nullptr);
}

void ImportDetails::Show(const ImportSummary* import) {
    setTitle(import ? LoadResString(1205) + QLatin1Char(' ') + QString::number(import->id)
                    : LoadResString(1205));
    lblImport->setText(
        import ? TraceText::Identity(import->importer) + QLatin1Char('\n') +
                     LoadResString(1865).arg(
                         import->archivedAt ? TraceText::LocalTime(*import->archivedAt) : QString(),
                         QString::number(import->records), QString::number(import->added))
               : QString());
    // Imports archived before the chain began have no digest.
    const bool digest = import && !import->digest.isEmpty();
    txtDigest->setText(digest ? import->digest : QString());
    lblDigest->setVisible(digest);
    txtDigest->setVisible(digest);
    lblReview->setText(import ? Review(*import) : QString());
}
