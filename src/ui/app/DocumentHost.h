#pragma once

class QString;
struct ArchiveExtract;
struct MValSet;

// The frame's documents, as the windows that open, replace or close them see them.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // Enables and disables the commands for the meter state and the number of documents.
    // documentStays is false only while a closing document still counts itself.
    virtual bool UpdateCommandStates(bool documentStays) = 0;
    virtual void OpenDocument(const QString& path) = 0;
    // False when a document stayed open.
    virtual bool CloseAllDocuments() = 0;
    // A document calls this once it is unloaded.
    virtual void DocumentUnloaded() = 0;
    // A new document showing records read back from the archive, `extract` saying where
    // they come from; unmodified until the user changes it.
    virtual void OpenDataset(MValSet& set, const ArchiveExtract& extract) = 0;

protected:
    DocumentHost() = default;
    DocumentHost(const DocumentHost&) = default;
    DocumentHost& operator=(const DocumentHost&) = default;
};
