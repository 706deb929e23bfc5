#include "ui/shell/WindowServices.h"

#include "app/Services.h"
