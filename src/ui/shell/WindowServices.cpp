#include "ui/shell/WindowServices.h"

#include "app/Services.h"
#include "ui/archive/ArchiveServices.h"
#include "ui/calibration/ProtocolServices.h"
#include "ui/data/DocumentServices.h"
#include "ui/meter/MeterServices.h"
#include "ui/programs/ProgramServices.h"

MeterServices MeterServicesOf(Services& services) {
    return {services.ui,     services.busy,       services.link(), services.communication,
            services.device, services.usrDefProg, services.ini};
}

ProgramServices ProgramServicesOf(Services& services) {
    return {services.ui,          services.busy,  services.link(),
            services.device,      services.login, services.usrDefProg,
            services.calibration, services.math,  services.ini};
}

DocumentServices DocumentServicesOf(Services& services) {
    return {services.ui,         services.busy,        services.link(),     services.measVal,
            services.importMVal, services.exportExcel, services.exportXlsx, services.device,
            services.login,      services.usrDefProg,  services.print,      services.ini};
}

ArchiveServices ArchiveServicesOf(Services& services) {
    return {services.ui,     services.device,     services.ini,   services.busy,
            services.link(), services.usrDefProg, services.print, services.login};
}

ProtocolServices ProtocolServicesOf(Services& services) {
    return {services.ui,         services.busy,        services.link(), services.device,
            services.usrDefProg, services.calProtocol, services.print,  services.ini};
}
