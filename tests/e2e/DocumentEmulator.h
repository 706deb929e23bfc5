#pragma once

#include "app/Services.h"
#include "meter/SerialLink.h"
#include "support/MeterSim.h"
#include "support/QtPrint.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "ui/app/frmWait.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"
#include "ui/shell/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline constexpr int kRecords = 60;

// Photometer records with something in every field, as many as the test needs.
inline QByteArray MemoryFile(int count) {
    QByteArray lines;
    for (int i = 1; i <= count; ++i) {
        lines += QByteArray::number(i) + ";07/12/26;09:" + QByteArray::number(10 + i % 50) +
                 ":00;" + QByteArray::number(100 + i) + ";" + QByteArray::number(900 + i % 7) +
                 ";PO4;AR;1:1;0." + QByteArray::number(i) + ";mg/l;OK;;;;01/12/26;08:00\n";
    }
    return lines;
}

// The desktop program's main window on the emulator's device, meter found and online.
class DocumentOverTheEmulator : public ::testing::Test {
protected:
    explicit DocumentOverTheEmulator(const QStringList& faults = {},
                                     const QByteArray& memory = MemoryFile(kRecords)) {
        WriteBytes(dir.file(QStringLiteral("memory.txt")), memory);
        QStringList args{QStringLiteral("--baud"),         QStringLiteral("19200"),
                         QStringLiteral("--serial"),       QStringLiteral("ZV-5"),
                         QStringLiteral("--records-file"), dir.file(QStringLiteral("memory.txt"))};
        for (const QString& fault : faults) {
            args << QStringLiteral("--fault") << fault;
        }
        sim = std::make_unique<MeterSim>(args);
        main = std::make_unique<frmMain>(
            ui, [this](Ui& linkUi) { return MakeSerialLink(linkUi, {sim->device()}); });
        main->show();
        Services& services = main->services();
        services.login.UserName(QStringLiteral("nadia"));
        QString model;
        QString serial;
        recognised = services.device.Recognise(model, serial, false) == 0;
    }
    ~DocumentOverTheEmulator() override {
        ui.onYield = nullptr;
        ui.messageAnswers.assign(64, MsgResult::No);
        main->close();
    }

    frmDocument& Doc() { return *main->ActiveDocument(); }
    MValTableModel& Grid() { return Doc().GridModel(); }
    QStringList Row(int row) {
        QStringList cells;
        for (int c = 0; c < Grid().columnCount(); ++c) {
            cells << Grid().Cell(row, c);
        }
        return cells;
    }
    static frmWait* WaitDialog() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* wait = qobject_cast<frmWait*>(w); wait && wait->isVisible()) {
                return wait;
            }
        }
        return nullptr;
    }
    // Runs `act` once, at the first yield after the emulator has received U.581.
    void DuringTransfer(std::function<void()> act) {
        ui.onYield = [this, act, done = false]() mutable {
            if (!done && sim->log().contains(QStringLiteral("U.581"))) {
                done = true;
                act();
            }
        };
    }

    TempDir dir;
    ScriptedUi ui;
    std::unique_ptr<MeterSim> sim;
    std::unique_ptr<frmMain> main;
    bool recognised = false;
};

class RefusingEmulator : public DocumentOverTheEmulator {
protected:
    RefusingEmulator() : DocumentOverTheEmulator({QStringLiteral("refuse:U.581")}) {}
};
