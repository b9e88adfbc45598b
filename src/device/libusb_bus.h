#pragma once

#include "device/usb_bus.h"

// The seam bound to the system's libusb 0.1 (Debian's libusb 0.1.12 talks to /dev/bus/usb with
// synchronous ioctls). One instance serves the whole process.
UsbBus& LibUsbBus();
