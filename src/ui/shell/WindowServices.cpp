#include "ui/shell/WindowServices.h"

#include "app/Services.h"
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
