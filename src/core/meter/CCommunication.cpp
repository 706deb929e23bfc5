#include "meter/CCommunication.h"

#include "meter/MeterLink.h"

bool CCommunication::Scan() {
    if (m_link.COMScanPorts(COMPort, Baudrate)) {
        return true;
    }
    return m_link.COMScanPorts(COMPort, Baudrate);
}
