#pragma once

#include "DialogDriver.h"
#include "app/Services.h"
#include "meter/SerialLink.h"
#include "programs/ProgramFile.h"
#include "support/MeterSim.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "ui/programs/ProgramSelection.h"
#include "ui/programs/ProgramServices.h"
#include "ui/shell/WindowServices.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// A valid program for the tests: number `no`, the photometric values of a nitrate method.
inline ProgramRecord SampleProgram(const QString& no, const QString& model = "File") {
    ProgramRecord r = EmptyProgramRecord();
    // Inside the photometric range: 2.0 E is reached at 1.99.
    const QStringList values{no,     model, "16",   "436", "0.0",  "1.5",
                             "0.01", "1.0", "0.01", "NO3", "mg/l", "Ann"};
    for (int i = 0; i < values.size(); ++i) {
        r[i] = values[i];
    }
    r[ProgramField::BLANKREQ] = "1";
    r[ProgramField::CALPSB] = "0";
    r[ProgramField::CALREQ] = "0";
    return r;
}

// The program windows over the emulated meter (or offline), with a work directory of
// their own and the user "Lab".
class ProgramWindowTest : public ::testing::Test {
protected:
    void Connect(const QStringList& simArgs) {
        sim = std::make_unique<MeterSim>(simArgs);
        ASSERT_FALSE(sim->device().isEmpty()) << sim->errors().toStdString();
        services = std::make_unique<Services>(ui, MakeSerialLink(ui, {sim->device()}));
        QString name;
        QString serial;
        ASSERT_EQ(services->device.Recognise(name, serial, false), 0);
        Prepare();
    }
    void Offline() {
        services = std::make_unique<Services>(ui, std::make_unique<ScriptedMeterLink>());
        Prepare();
    }
    void Prepare() {
        services->login.UserName(QStringLiteral("Lab"));
        services->usrDefProg.WorkDir(work.path());
    }

    static ProgramRecord Program(const QString& no, const QString& model = "File") {
        return SampleProgram(no, model);
    }
    void WriteProgramFile(const QString& name, const ProgramRecord& program) {
        ASSERT_TRUE(services->usrDefProg.SaveToFile(program, work.file(name)));
    }
    ProgramServices Programs() const { return ProgramServicesOf(*services); }
    QStringList MeterLog() const { return sim ? sim->log() : QStringList(); }

    static void LeaveField(QWidget* box) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    }

    ScriptedUi ui;
    TempDir work;
    DialogDriver dialogs;
    std::unique_ptr<MeterSim> sim; // outlives the services that talk to it
    std::unique_ptr<Services> services;
};

// What the console tells the editor, set by the test.
class FakeSelection : public ProgramSelection {
public:
    explicit FakeSelection(bool isNew) : m_new(isNew) {}
    bool NewProgramPressed() const override { return m_new; }
    bool GetSelProgram(QString& strProgNum, QString& strFileName, bool& fMeterSelected) override {
        strProgNum = number;
        strFileName = fileName;
        fMeterSelected = meter;
        return selected;
    }
    bool RequestSelProgram(const QString& strProgNum, const QString& strFileName,
                           bool fMeterSelected) override {
        requested = {strProgNum, strFileName, fMeterSelected ? "meter" : "file"};
        return true;
    }

    bool selected = false;
    bool meter = false;
    QString number;
    QString fileName;
    QStringList requested;

private:
    bool m_new;
};
