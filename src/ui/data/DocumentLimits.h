#pragma once

#include <QObject>
#include <QPointer>

class ArchiveJob;
class CIni;
class DatasetTableTools;

// The limit values a document's table judges its results by, read from the archive in the
// background whenever the document gets a dataset: the table shows at once and takes its
// colours when the limits come. An archive that cannot be read (none yet, a server away)
// gives no limits and no message: the document is never blocked or delayed by them.
class DocumentLimits : public QObject {
    Q_OBJECT
public:
    DocumentLimits(QObject& owner, CIni& ini, DatasetTableTools& tools);

    // Starts reading; a read still running for an earlier dataset is abandoned.
    void Read();
    bool Reading() const;

signals:
    // The limits reached the table (maybe none).
    void Applied();

private:
    CIni& m_ini;
    DatasetTableTools& m_tools;
    QPointer<ArchiveJob> m_job;
};
