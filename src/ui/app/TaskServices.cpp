#include "ui/app/TaskServices.h"

#include "app/Services.h"

TaskServices::TaskServices(Services& services)
    : TaskServices(services.ui, services.busy, services.link(), services.usrDefProg) {}

PrintServices::PrintServices(Services& services)
    : PrintServices(services.ui, services.busy, services.print) {}
