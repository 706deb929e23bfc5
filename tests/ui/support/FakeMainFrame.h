#pragma once

#include "app/Services.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "ui/app/MainFrame.h"

#include <QStringList>
#include <QWidget>
#include <memory>

// A frame for a window under test without the main window: the services over a scripted Ui
// and link, a plain widget as the owner of dialogs, and the list of what the window asked
// of its frame, in order ("UpdateCommandStates 1", "MenuFileNew", ...).
class FakeMainFrame : public MainFrame {
public:
    FakeMainFrame() {
        auto scripted = std::make_unique<ScriptedMeterLink>();
        link = scripted.get();
        m_services = std::make_unique<Services>(ui, std::move(scripted));
    }

    Services& services() { return *m_services; }
    QWidget* FrameWindow() override { return &window; }
    void SetStatusBarCOM(const QString& port, const QString& baud) override {
        calls << QStringLiteral("SetStatusBarCOM ") + port + QLatin1Char(' ') + baud;
    }
    void SetStatusBarDevice(const QString& name, const QString& serial) override {
        calls << QStringLiteral("SetStatusBarDevice ") + name + QLatin1Char(' ') + serial;
    }
    void SetStatusBarUserName(const QString& name) override {
        calls << QStringLiteral("SetStatusBarUserName ") + name;
    }
    bool UpdateCommandStates(bool documentStays) override {
        calls << QStringLiteral("UpdateCommandStates %1").arg(documentStays);
        return true;
    }
    bool ToolbarIsChecked() const override { return toolbarChecked; }
    void OpenDocument(const QString& path) override { calls << "OpenDocument " + path; }
    bool CloseAllDocuments() override {
        calls << QStringLiteral("CloseAllDocuments");
        return true;
    }
    void DocumentUnloaded() override { calls << QStringLiteral("DocumentUnloaded"); }
    void OpenFiles(const QStringList& paths) override { calls << "OpenFiles " + paths.join(' '); }
    void OpenDataset(MValSet& set, const ArchiveExtract&) override {
        calls << "OpenDataset " + set.strMeter;
    }
    void ShowStatusNote(const QString& text) override { calls << "ShowStatusNote " + text; }
    void MenuArchive() override { calls << QStringLiteral("MenuArchive"); }
    void MenuQualityControl() override { calls << QStringLiteral("MenuQualityControl"); }
    void OpenQualityControl(const QString& control) override {
        calls << QStringLiteral("OpenQualityControl ") + control;
    }
    void MenuFileNew() override { calls << QStringLiteral("MenuFileNew"); }
    void MenuFileOpen() override { calls << QStringLiteral("MenuFileOpen"); }
    void MenuFileExit() override { calls << QStringLiteral("MenuFileExit"); }
    void MenuDeviceSearch() override { calls << QStringLiteral("MenuDeviceSearch"); }
    void MenuChangeUser() override { calls << QStringLiteral("MenuChangeUser"); }
    void MenuProgsUserDef() override { calls << QStringLiteral("MenuProgsUserDef"); }
    void MenuCalProtPH() override { calls << QStringLiteral("MenuCalProtPH"); }
    void MenuCalProtTurb() override { calls << QStringLiteral("MenuCalProtTurb"); }
    void MenuViewToolbar() override {
        toolbarChecked = !toolbarChecked;
        calls << QStringLiteral("MenuViewToolbar");
    }
    void MenuWindowCascade() override { calls << QStringLiteral("MenuWindowCascade"); }
    void MenuWindowTileHorizontal() override {
        calls << QStringLiteral("MenuWindowTileHorizontal");
    }
    void MenuWindowTileVertical() override { calls << QStringLiteral("MenuWindowTileVertical"); }
    void MenuHelpContents() override { calls << QStringLiteral("MenuHelpContents"); }
    void MenuHelpAbout() override { calls << QStringLiteral("MenuHelpAbout"); }

    ScriptedUi ui;
    ScriptedMeterLink* link = nullptr;
    QWidget window;
    QStringList calls;
    bool toolbarChecked = true;

private:
    std::unique_ptr<Services> m_services;
};
