#pragma once

#include "archive/ImportReview.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

class ArchiveJob;
class CIni;
class RecordSelection;
struct MValSet;

// The reviews of the imports a document's archived records came from, read in the
// background when the document gets them (as its limit values are), for the table report's
// signature block. A document of no archived records, or an archive that cannot be read,
// has none: the block then claims nothing either way.
class DocumentReviews : public QObject {
    Q_OBJECT
public:
    DocumentReviews(QObject& owner, CIni& ini);

    // Starts reading for the records of `mvals`; a read still running is abandoned.
    void Read(const MValSet& mvals);
    bool Reading() const;
    // What the signature block says of the imports of the records `printed` of `mvals`.
    QStringList Verified(const MValSet& mvals, const RecordSelection& printed) const;

signals:
    // The reviews arrived (maybe none).
    void Applied();

private:
    CIni& m_ini;
    QPointer<ArchiveJob> m_job;
    QHash<qint64, ImportSummary> m_imports;
};
