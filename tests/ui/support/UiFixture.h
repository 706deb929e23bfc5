#pragma once

#include "app/Services.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "ui/shell/frmMain.h"

#include <QByteArray>
#include <functional>
#include <memory>

// A program folder of the test's own: Settings.ini with the given text beside the real
// pictures (or none). The previous program folder comes back when the test ends.
class ProgramFolder {
public:
    explicit ProgramFolder(const QByteArray& settingsIni, bool withPictures = true);
    ~ProgramFolder();
    QString path() const { return m_dir.path(); }

private:
    TempDir m_dir;
    QByteArray m_previous;
};

// A scripted link that lets a test look at the windows while the port search runs.
class ObservedLink : public ScriptedMeterLink {
public:
    ~ObservedLink() override {
        if (onDestroyed) {
            onDestroyed(*this);
        }
    }
    bool COMScanPorts(int& intPortNum, QString& strBaudrate) override {
        if (onScan) {
            onScan();
        }
        return ScriptedMeterLink::COMScanPorts(intPortNum, strBaudrate);
    }
    std::function<void()> onScan;
    std::function<void(const ObservedLink&)> onDestroyed;
};

// The main window as the program starts it, over a scripted Ui and meter link.
struct MainWindowFixture {
    MainWindowFixture();
    ~MainWindowFixture();

    // Runs the start-up with a confirmed login (offline unless search is true).
    bool LogIn(const QString& userName, bool search = false);
    // Lets the meter object recognise `model` (serial number SN-77 unless told) over the
    // scripted link, as a search would; the test's messages are cleared afterwards.
    void RecogniseMeter(const QString& model, const QString& serial = QStringLiteral("SN-77"));
    // A menu item of whatever the menu bar shows now, by name.
    QAction* ShownItem(const char* name) const;

    ScriptedUi ui;
    // The link the main window owns; null once the main window has released it, and then
    // its operations are in releasedLinkCalls.
    ObservedLink* link = nullptr;
    QStringList releasedLinkCalls;
    std::unique_ptr<frmMain> main;
};
