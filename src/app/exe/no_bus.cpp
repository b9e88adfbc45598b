#include "app/application.h"

void InstallUsbBus() {}
