#pragma once

#include "ui/calibration/ProtocolServices.h"

#include <QDialog>

class QGridLayout;
class QHBoxLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
class WindowHost;

// What the pH and the turbidity protocol windows share: the meter and calibration labels,
// the opening with its fetch, saving, reading and printing. Each window adds its own rows
// and says how it shows a protocol of its kind.
class CalProtocolWindow : public QDialog {
    Q_OBJECT
public:
    QLabel* imgHead = nullptr;
    QLabel* imgLogo = nullptr;
    QGroupBox* frmDevice = nullptr;
    QGroupBox* frmProtocol = nullptr;
    QLabel* lblMeter = nullptr;
    QLabel* lblSerNo = nullptr;
    QLabel* lblUser = nullptr;
    QLabel* lblCalDate = nullptr;
    QLabel* lblCalTime = nullptr;
    QLabel* lblCalInterval = nullptr;
    QLabel* lblCalMode = nullptr;
    QLabel* lblMeterValue = nullptr;
    QLabel* lblSerNoValue = nullptr;
    QLabel* lblUserValue = nullptr;
    QLabel* lblCalDateValue = nullptr;
    QLabel* lblCalTimeValue = nullptr;
    QLabel* lblCalIntervalValue = nullptr;
    QLabel* lblCalModeValue = nullptr;
    QPushButton* cmdSaveAsFile = nullptr;
    QPushButton* cmdReadFile = nullptr;
    QPushButton* cmdPrint = nullptr;
    // "Imprimer…", "Aperçu avant impression", "Exporter en PDF…" in its menu mnuPrintOptions.
    QPushButton* cmdPrintOptions = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Escape, "Annuler" and the close box: edited, unsaved lot data is asked about first.
    void reject() override;

protected:
    // fPH: the kind of protocol this window shows.
    CalProtocolWindow(WindowHost& main, ProtocolServices services, bool fPH, const char* name,
                      const char* tag);

    // The opening: captions, pictures, an empty display, the protocol file `path` or else the
    // fetch when the meter has the channel, the buttons. Called by the window once its own
    // controls exist.
    void Form_Load(const QString& path = QString());

    virtual void ClearDisplay();
    virtual bool ShowProtocol() = 0;
    // The buttons and the title's modified marker, after anything that changes the protocol.
    virtual void UpdateButtons();
    // Whether the connected meter measures what this window shows.
    virtual bool MeterHasChannel() const = 0;
    virtual bool UpdateFromMeter() = 0;
    // The part of the proposed file name between "CalProt " and the date.
    virtual QString FileNameKind() const = 0;

    // Meter, serial number, user, date, time, interval and mode of the shown protocol.
    void ShowCommonFields(const QString& strMeter, const QString& strSerNo, const QString& strUser,
                          const QString& strCalData, const QString& strCalTime,
                          const QString& strCalInterval_d, const QString& strMode);

    ProtocolServices m_services;
    WindowHost& m_main;
    QGridLayout* m_protocolGrid = nullptr; // rows 0 to 3 are the common ones
    QVBoxLayout* m_extra = nullptr;        // between the frames and the buttons
    QHBoxLayout* m_buttons = nullptr;      // save, read, print, cancel

private:
    void BuildControls(const char* name, const char* tag);
    void LayOut();
    void ReportProtocolError();
    bool FetchProtocol();
    // The opening's fetch, unless the user keeps the edited, unsaved lot data it would drop.
    void FetchUnlessLotIsKept();
    // Asks before edited, unsaved lot data is dropped; true to go on.
    bool MayDropLot();
    void cmdSaveAsFile_Click();
    void cmdReadFile_Click();
    // Reads and shows a protocol file; false (reported) when it cannot be read.
    bool ReadProtocolFile(const QString& path);
    // The window's caption with the protocol's file name, marked while lot data is unsaved.
    void ShowTitle();
    void PrintProtocol();
    void AddPrintOptions();

    bool m_fPH;
};
