#include "usb_testbed.h"

#include <umockdev.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <unistd.h>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

struct UsbTestbed::Node {
    std::string devnode;  // /dev/bus/usb/BBB/DDD
    std::string syspath;
    emu::EmulatedLogger* logger = nullptr;
    int number = 0;
    UMockdevIoctlBase* handler = nullptr;
    std::vector<std::uint8_t> descriptors;
    bool isLogger = true;
    std::map<UMockdevIoctlClient*, std::size_t> readOffsets;  // worker thread only
};

namespace {

// Device descriptor, then configuration 1 with one vendor interface and no endpoints.
std::vector<std::uint8_t> Descriptors(std::uint16_t vid, std::uint16_t pid) {
    auto lo = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    auto hi = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    return {
        18,      1,       0x00,    0x02, 0,    0,    0, 8,    lo(vid),
        hi(vid), lo(pid), hi(pid), 0x01, 0x00, 0,    0, 0,    1,   // device
        9,       2,       18,      0,    1,    1,    0, 0x80, 50,  // configuration
        9,       4,       0,       0,    0,    0xFF, 0, 0,    0,   // interface
    };
}

bool Present(const UsbTestbed::Node& n) {
    return n.logger->Plugged() && n.logger->DeviceNumber() == n.number;
}

gboolean OnRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    auto* node = static_cast<UsbTestbed::Node*>(user);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    if (!Present(*node)) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return TRUE;
    }
    const std::vector<std::uint8_t>& blob = node->descriptors;
    std::size_t& offset = node->readOffsets[client];
    std::size_t n = std::min<std::size_t>(arg->data_len, offset < blob.size() ? blob.size() - offset : 0);
    if (n > 0)
        std::memcpy(arg->data, blob.data() + offset, n);
    offset += n;
    umockdev_ioctl_client_complete(client, static_cast<glong>(n), 0);
    return TRUE;
}

void OnConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    static_cast<UsbTestbed::Node*>(user)->readOffsets[client] = 0;
}

void OnVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    static_cast<UsbTestbed::Node*>(user)->readOffsets.erase(client);
}

int StandardRequest(const UsbTestbed::Node& node, const usbdevfs_ctrltransfer& c, std::uint8_t* data) {
    if (c.bRequestType == 0x80 && c.bRequest == 6) {  // GET_DESCRIPTOR
        const std::vector<std::uint8_t>& blob = node.descriptors;
        int type = c.wValue >> 8;
        std::size_t from = type == 1 ? 0 : type == 2 ? 18 : blob.size();
        std::size_t size = type == 1 ? 18 : type == 2 ? 18 : 0;
        if (size == 0)
            return -EPIPE;
        int n = static_cast<int>(std::min<std::size_t>(size, c.wLength));
        std::memcpy(data, blob.data() + from, n);
        return n;
    }
    return -EPIPE;
}

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    auto* node = static_cast<UsbTestbed::Node*>(user);
    gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    if (!Present(*node)) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return TRUE;
    }
    GError* error = nullptr;
    if (request == USBDEVFS_CONTROL) {
        UMockdevIoctlData* ctrl = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_ctrltransfer), &error);
        if (!ctrl) {
            g_clear_error(&error);
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return TRUE;
        }
        usbdevfs_ctrltransfer c;
        std::memcpy(&c, ctrl->data, sizeof c);
        UMockdevIoctlData* buffer = nullptr;
        std::vector<std::uint8_t> local(c.wLength);
        if (c.wLength > 0) {
            buffer =
                umockdev_ioctl_data_resolve(ctrl, offsetof(usbdevfs_ctrltransfer, data), c.wLength, &error);
            if (!buffer) {
                g_clear_error(&error);
                g_object_unref(ctrl);
                umockdev_ioctl_client_complete(client, -1, EFAULT);
                return TRUE;
            }
            std::memcpy(local.data(), buffer->data, c.wLength);
        }
        int result;
        if ((c.bRequestType & 0x60) == 0 && c.bRequestType != 0x00)
            result = StandardRequest(*node, c, local.data());  // descriptors for libusb itself
        else if (!node->isLogger)
            result = -EPIPE;
        else
            result = node->logger->HandleControl(c.bRequestType, c.bRequest, c.wValue, c.wIndex, local.data(),
                                                 c.wLength, static_cast<int>(c.timeout));
        if (result > 0 && (c.bRequestType & 0x80) && buffer)
            umockdev_ioctl_data_update(buffer, 0, local.data(), result);
        if (result < 0)
            umockdev_ioctl_client_complete(client, -1, -result);
        else
            umockdev_ioctl_client_complete(client, result, 0);
        if (buffer)
            g_object_unref(buffer);
        g_object_unref(ctrl);
        return TRUE;
    }
    if (request == USBDEVFS_CONNECTINFO) {
        UMockdevIoctlData* info = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_connectinfo), &error);
        if (!info) {
            g_clear_error(&error);
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return TRUE;
        }
        usbdevfs_connectinfo ci{static_cast<unsigned>(node->number), 0};
        umockdev_ioctl_data_update(info, 0, reinterpret_cast<guint8*>(&ci), sizeof ci);
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(info);
        return TRUE;
    }
    if (request == USBDEVFS_CLAIMINTERFACE || request == USBDEVFS_RELEASEINTERFACE ||
        request == USBDEVFS_SETCONFIGURATION) {
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
    }
    umockdev_ioctl_client_complete(client, -1, ENOTTY);
    return TRUE;
}

std::string Three(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", n);
    return text;
}

std::string Hex4(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v);
    return text;
}

}  // namespace

UsbTestbed& UsbTestbed::Instance() {
    static UsbTestbed bed;
    return bed;
}

bool UsbTestbed::InMockEnvironment() {
    Instance();
    return umockdev_in_mock_environment();
}

UsbTestbed::UsbTestbed() {
    testbed = umockdev_testbed_new();
}

// The testbed's folder in /tmp goes with it.
UsbTestbed::~UsbTestbed() {
    RemoveAll();
    g_object_unref(testbed);
}

void UsbTestbed::Plug(emu::EmulatedLogger& logger, std::uint16_t vendorId, std::uint16_t productId) {
    auto node = std::make_unique<Node>();
    node->descriptors = Descriptors(vendorId, productId);
    node->isLogger = vendorId == 0x04D8 && productId == 0xFFFD;
    node->logger = &logger;
    node->number = logger.DeviceNumber();
    std::string bus = Three(logger.BusNumber());
    std::string dev = Three(node->number);
    node->devnode = "/dev/bus/usb/" + bus + "/" + dev;
    node->syspath = "/sys/devices/pci0000:00/0000:00:14.0/usb" + std::to_string(logger.BusNumber()) + "/" +
                    std::to_string(logger.BusNumber()) + "-" + std::to_string(node->number);
    std::string record = "P: " + node->syspath.substr(4) + "\nN: bus/usb/" + bus + "/" + dev +
                         "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=" + node->devnode +
                         "\nE: BUSNUM=" + bus + "\nE: DEVNUM=" + dev + "\nA: idVendor=" + Hex4(vendorId) +
                         "\nA: idProduct=" + Hex4(productId) + "\n" +
                         "A: busnum=" + std::to_string(logger.BusNumber()) +
                         "\nA: devnum=" + std::to_string(node->number) + "\n\n";
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, record.c_str(), &error)) {
        std::string message = error ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("umockdev: cannot add device: " + message);
    }
    node->handler = umockdev_ioctl_base_new();
    g_signal_connect(node->handler, "handle-ioctl", G_CALLBACK(OnIoctl), node.get());
    g_signal_connect(node->handler, "handle-read", G_CALLBACK(OnRead), node.get());
    g_signal_connect(node->handler, "client-connected", G_CALLBACK(OnConnected), node.get());
    g_signal_connect(node->handler, "client-vanished", G_CALLBACK(OnVanished), node.get());
    if (!umockdev_testbed_attach_ioctl(testbed, node->devnode.c_str(), node->handler, &error)) {
        std::string message = error ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("umockdev: cannot attach: " + message);
    }
    std::string key = node->devnode;
    nodes[key] = std::move(node);
}

void UsbTestbed::Remove(Node& node) {
    GError* error = nullptr;
    umockdev_testbed_detach_ioctl(testbed, node.devnode.c_str(), &error);
    g_clear_error(&error);
    umockdev_testbed_remove_device(testbed, node.syspath.c_str());
    // The node file itself stays behind; a pulled cable takes it away.
    gchar* root = umockdev_testbed_get_root_dir(testbed);
    std::string file = std::string(root) + node.devnode;
    g_free(root);
    unlink(file.c_str());
    g_object_unref(node.handler);
    node.handler = nullptr;
}

void UsbTestbed::Unplug(emu::EmulatedLogger& logger) {
    logger.Unplug();
    for (auto it = nodes.begin(); it != nodes.end();) {
        if (it->second->logger == &logger) {
            Remove(*it->second);
            it = nodes.erase(it);
        } else {
            ++it;
        }
    }
}

void UsbTestbed::Replug(emu::EmulatedLogger& logger) {
    logger.Replug();
    Plug(logger);
}

void UsbTestbed::RemoveAll() {
    for (auto& [path, node] : nodes)
        Remove(*node);
    nodes.clear();
}
