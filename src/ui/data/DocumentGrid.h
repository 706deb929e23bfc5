#pragma once

class CDevice;
class CIni;
class DocumentLimits;
class DatasetTableTools;
class MValTableModel;
class QTableView;
class QWidget;
struct MValSet;

// The document's table of records: its model, its tools (sorting, filtering, copying,
// statistics), and filling it from a dataset under the titles and widths of its meter.
class DocumentGrid {
public:
    DocumentGrid(QWidget& document, QTableView& table, const CDevice& device, CIni& ini);

    MValTableModel& Model() { return *m_model; }
    DocumentLimits& Limits() { return *m_limits; }
    DatasetTableTools& Tools() { return *m_tools; }
    // An empty table without a layout.
    void Clear();
    // The records of `mvals` under its meter's titles, then their limit values read in the
    // background; false when the meter has no table or the records cannot be read.
    bool Fill(const MValSet& mvals);
    // Greys the records of `mvals` set aside in the archive, their reason as tool tip; they
    // no longer count for the statistics, the graph and the printouts.
    void ShowValidity(const MValSet& mvals);

private:
    bool FillRows(const MValSet& mvals, int columns);

    QTableView& m_table;
    const CDevice& m_device;
    MValTableModel* m_model;    // owned by the document
    DatasetTableTools* m_tools; // owned by the document
    DocumentLimits* m_limits;   // owned by the document
};
