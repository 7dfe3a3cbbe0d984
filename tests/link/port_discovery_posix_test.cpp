#include "link/port_discovery_posix.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <fstream>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

namespace fs = std::filesystem;

// A machine's tree as sysfs and udev lay it out, in a temporary folder.
struct FakeMachine {
    FakeMachine() { fs::create_directories(root); }
    ~FakeMachine() { fs::remove_all(root); }
    void File(const std::string& path, const std::string& text) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
    }
    void Link(const std::string& path, const fs::path& target) {
        fs::create_directories((root / path).parent_path());
        fs::create_symlink(target, root / path);
    }
    void Tty(const std::string& name, const std::string& device, const std::string& type = "") {
        fs::create_directories(root / device);
        Link("sys/class/tty/" + name + "/device", root / device);
        if (!type.empty()) File("sys/class/tty/" + name + "/type", type);
    }
    std::vector<std::string> Lines(const std::vector<SerialPortInfo>& ports) {
        std::vector<std::string> lines;
        for (const SerialPortInfo& port : ports) lines.push_back(PortLine(port));
        return lines;
    }
    const fs::path root = fs::temp_directory_path() / ("tastolink-machine-" + std::to_string(getpid()));
};

// A USB modem with its by-id link, a USB serial adapter without names, two 8250 ports with a UART
// and one without, a virtual console, a test rig's pseudo-terminal linked into by-id, and a
// link whose device is gone.
TEST(PortDiscovery, EachPortWithWhatLinuxKnowsOfItsDevice) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const FileDescriptor masterEnd(master), slaveEnd(slave);
    const std::string pty = ttyname(slave);
    FakeMachine machine;
    const std::string modem = "sys/devices/pci0000:00/usb1/1-1";
    machine.File(modem + "/manufacturer", "Sony Ericsson\n");
    machine.File(modem + "/product", "K750\n");
    machine.File(modem + "/1-1:1.1/bInterfaceNumber", "01\n");
    machine.File(modem + "/1-1:1.1/interface", "USB modem\n");
    machine.Tty("ttyACM0", modem + "/1-1:1.1");
    machine.File("dev/ttyACM0", "");
    machine.Link("dev/serial/by-id/usb-Sony_Ericsson_K750-if01", "../../ttyACM0");
    const std::string adapter = "sys/devices/pci0000:00/usb1/1-2";
    machine.File(adapter + "/idVendor", "1a86\n");
    machine.File(adapter + "/idProduct", "7523\n");
    machine.File(adapter + "/1-2:1.0/bInterfaceNumber", "00\n");
    machine.Tty("ttyUSB0", adapter + "/1-2:1.0/ttyUSB0");
    machine.Tty("ttyS2", "sys/devices/pnp0/00:04/00:04:0/00:04:0.0", "4\n");
    machine.Tty("ttyS10", "sys/devices/pnp0/00:05/00:05:0/00:05:0.0", "4\n");
    machine.Tty("ttyS1", "sys/devices/platform/serial8250/serial8250:0/serial8250:0.1", "0\n");
    machine.File("sys/class/tty/tty1/dev", "4:1\n");
    machine.Link("dev/serial/by-id/rig-phone", pty);
    machine.Link("dev/serial/by-id/usb-Gone-if00", "../../ttyACM9");
    machine.File("home/keys.txt", "0 M\n");

    EXPECT_EQ(machine.Lines(ListSerialPorts(machine.root)),
              (std::vector<std::string>{
                  pty + "  pseudo-terminal  /dev/serial/by-id/rig-phone",
                  "/dev/ttyACM0  Sony Ericsson K750 (USB modem, interface 1)  "
                  "/dev/serial/by-id/usb-Sony_Ericsson_K750-if01",
                  "/dev/ttyS2  serial port",
                  "/dev/ttyS10  serial port",
                  "/dev/ttyUSB0  USB device 1a86:7523 (interface 0)",
              }));
    EXPECT_EQ(
        machine.Lines({DescribeSerialPort("/dev/serial/by-id/usb-Sony_Ericsson_K750-if01", machine.root),
                       DescribeSerialPort("/dev/serial/by-id/usb-Gone-if00", machine.root),
                       DescribeSerialPort("/home/keys.txt", machine.root)}),
        (std::vector<std::string>{
            "/dev/ttyACM0  Sony Ericsson K750 (USB modem, interface 1)  "
            "/dev/serial/by-id/usb-Sony_Ericsson_K750-if01",
            "/dev/serial/by-id/usb-Gone-if00  not found",
            "/home/keys.txt  not a device",
        }));
}

}  // namespace
}  // namespace tastolink
