#include "link/port_discovery_posix.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <tuple>

namespace tastolink {
namespace {

namespace fs = std::filesystem;

// How far above a tty's device sysfs may put the USB interface (a USB serial adapter's port sits
// one folder below it).
constexpr int kMostInterfaceLevels = 4;

// A sysfs attribute's first line, at most 255 bytes, control bytes shown as '?'; empty where the
// file is missing or unreadable.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char buffer[255];
    in.read(buffer, sizeof buffer);
    std::string text(buffer, static_cast<std::size_t>(in.gcount()));
    text = text.substr(0, text.find('\n'));
    text.erase(text.find_last_not_of(" \t\r") + 1);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

std::vector<fs::path> Entries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    return entries;
}

// A path resolved in the tree at `root` as the machine names it; one that leads out of the tree
// (a link to a pseudo-terminal of the test's own machine) stays as it is.
std::string MachinePath(const fs::path& resolved, const fs::path& root) {
    const fs::path relative = resolved.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") return resolved.string();
    return (fs::path("/") / relative).string();
}

std::string Joined(const std::string& first, const std::string& second, const char* between) {
    return first.empty() || second.empty() ? first + second : first + between + second;
}

// "Sony Ericsson K750 (USB modem, interface 1)", from the interface's folder and its device's.
std::string UsbDescription(const fs::path& interface) {
    const fs::path usb = interface.parent_path();
    std::string name = Joined(Attribute(usb / "manufacturer"), Attribute(usb / "product"), " ");
    if (name.empty()) name = "USB device " + Attribute(usb / "idVendor") + ":" + Attribute(usb / "idProduct");
    const std::string numberText = Attribute(interface / "bInterfaceNumber");  // in hex: "0a"
    unsigned number = 0;
    const auto [end, error] =
        std::from_chars(numberText.data(), numberText.data() + numberText.size(), number, 16);
    const std::string which = error == std::errc() && end == numberText.data() + numberText.size()
                                  ? std::to_string(number)
                                  : numberText;
    return name + " (" + Joined(Attribute(interface / "interface"), "interface " + which, ", ") + ")";
}

// The description of a tty that sysfs knows, or nothing where it has no device behind it.
std::optional<std::string> SysfsDescription(const fs::path& tty, const fs::path& root) {
    std::error_code error;
    fs::path folder = fs::canonical(tty / "device", error);
    if (error) return std::nullopt;
    for (int level = 0; level < kMostInterfaceLevels && folder != root && folder.has_relative_path();
         ++level, folder = folder.parent_path())
        if (fs::exists(folder / "bInterfaceNumber", error)) return UsbDescription(folder);
    return "serial port";
}

// What is known of the device at `resolved`, which the machine calls `path`.
std::string Description(const std::string& path, const fs::path& resolved, const fs::path& root) {
    if (auto known = SysfsDescription(root / "sys/class/tty" / resolved.filename(), root)) return *known;
    if (path.starts_with("/dev/pts/")) return "pseudo-terminal";
    std::error_code error;
    return fs::is_character_file(resolved, error) ? "character device" : "not a device";
}

// ttyACM2 before ttyACM10.
bool InPathOrder(const SerialPortInfo& one, const SerialPortInfo& other) {
    auto key = [](const std::string& path) {
        const std::size_t digits = path.find_last_not_of("0123456789") + 1;
        return std::make_tuple(path.substr(0, digits), path.size() - digits, path.substr(digits));
    };
    return key(one.path) < key(other.path);
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts(const fs::path& givenRoot) {
    std::error_code error;
    const fs::path root = fs::canonical(givenRoot, error);
    if (error) return {};
    std::vector<SerialPortInfo> ports;
    for (const fs::path& tty : Entries(root / "sys/class/tty")) {
        // The 8250 driver makes its ports whether or not there is a UART behind them (type 0).
        if (Attribute(tty / "type") == "0") continue;
        if (auto known = SysfsDescription(tty, root))
            ports.push_back({"/dev/" + tty.filename().string(), *known, ""});
    }
    for (const fs::path& link : Entries(root / "dev/serial/by-id")) {
        const fs::path target = fs::canonical(link, error);
        if (error) continue;  // its device is gone, and the link follows soon
        const std::string path = MachinePath(target, root);
        auto port =
            std::find_if(ports.begin(), ports.end(), [&](const auto& port) { return port.path == path; });
        if (port == ports.end())
            port = ports.insert(ports.end(), SerialPortInfo{path, Description(path, target, root), ""});
        port->link = MachinePath(link, root);
    }
    std::sort(ports.begin(), ports.end(), InPathOrder);
    return ports;
}

SerialPortInfo DescribeSerialPort(const std::string& name, const fs::path& givenRoot) {
    std::error_code error;
    const fs::path root = fs::canonical(givenRoot, error);
    const fs::path named =
        fs::path(name).is_absolute() ? root / fs::path(name).relative_path() : fs::path(name);
    const fs::path resolved = fs::canonical(named, error);
    if (error || name.empty()) return {name, "not found", ""};
    const std::string path = MachinePath(resolved, root);
    return {path, Description(path, resolved, root), path == name ? "" : name};
}

std::string PortLine(const SerialPortInfo& port) {
    return Joined(Joined(port.path, port.description, "  "), port.link, "  ");
}

}  // namespace tastolink
