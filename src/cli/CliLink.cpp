#include "cli/CliLink.h"

namespace {

// Until the serial link exists every meter command fails as "no meter found".
class NoMeterLink : public MeterLink {
public:
    bool COMScanPorts(int& intPortNum, QString& strBaudrate) override {
        intPortNum = 0;
        strBaudrate.clear();
        return false;
    }
    bool COMInit(int, const QString&, int) override { return false; }
    bool COMSendAndReceive(const QString&, QString& strAnswer) override {
        strAnswer.clear();
        return false;
    }
    bool COMChangeAnswerTime(int) override { return true; }
    bool COMDeinit() override { return true; }
    bool COMStop() override { return true; }
    bool COMContinue() override { return true; }
};

} // namespace

std::unique_ptr<MeterLink> MakeCliLink(Ui&, const QStringList&) {
    return std::make_unique<NoMeterLink>();
}
