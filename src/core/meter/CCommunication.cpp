#include "meter/CCommunication.h"

#include "meter/MeterLink.h"

bool CCommunication::Scan() {
    if (m_link.COMScanPorts(COMPort, Baudrate)) {
        return true;
    }
    // A search the user stopped stays stopped: the second pass would restart the link
    // and find the meter anyway.
    if (m_link.COMStopped()) {
        return false;
    }
    return m_link.COMScanPortsAgain(COMPort, Baudrate);
}
