#include "link/port_discovery_win32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include "shared/handles_win32.h"
#include "shared/late_bound_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// The device classes whose devices have a COM port: serial ports (GUID_DEVCLASS_PORTS), whose
// device key names their port as PortName, and modems, a phone's modem port among them
// (GUID_DEVCLASS_MODEM), whose driver key names it as AttachedTo.
struct PortClass {
    GUID guid;
    DWORD key;  // DIREG_DEV or DIREG_DRV
    const wchar_t* value;
};
constexpr PortClass kPortClasses[] = {
    {{0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}}, DIREG_DEV, L"PortName"},
    {{0x4d36e96d, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}},
     DIREG_DRV,
     L"AttachedTo"},
};

// A text value of a registry key, or "" when it has none.
std::string TextValue(HKEY key, const wchar_t* name) {
    wchar_t text[256] = L"";
    DWORD type = 0, size = sizeof text - sizeof *text;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return Utf8FromWide(std::wstring_view(text, size / sizeof *text));
}

std::vector<std::string> SystemPorts() {
    std::vector<std::string> ports;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &opened) !=
        ERROR_SUCCESS)
        return ports;
    const RegistryKey key(opened);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[256] = L"";
        DWORD nameLength = 256, type = 0, size = sizeof data - sizeof *data;
        const LSTATUS status = RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_SUCCESS && type == REG_SZ)
            ports.push_back(Utf8FromWide(std::wstring_view(data, size / sizeof *data)));
    }
    return ports;
}

// SetupAPI, taken from its DLL at the first look-up.
struct SetupApi {
    template <typename Function>
    static Function Get(const char* name) {
        return LateBound<Function>(L"setupapi.dll", name);
    }
    decltype(&SetupDiGetClassDevsW) getClassDevs = Get<decltype(getClassDevs)>("SetupDiGetClassDevsW");
    decltype(&SetupDiEnumDeviceInfo) enumDeviceInfo = Get<decltype(enumDeviceInfo)>("SetupDiEnumDeviceInfo");
    decltype(&SetupDiGetDeviceRegistryPropertyW) getProperty =
        Get<decltype(getProperty)>("SetupDiGetDeviceRegistryPropertyW");
    decltype(&SetupDiOpenDevRegKey) openDevRegKey = Get<decltype(openDevRegKey)>("SetupDiOpenDevRegKey");
    decltype(&SetupDiDestroyDeviceInfoList) destroyList =
        Get<decltype(destroyList)>("SetupDiDestroyDeviceInfoList");
    bool Complete() const {
        return getClassDevs && enumDeviceInfo && getProperty && openDevRegKey && destroyList;
    }
};

std::vector<PortDevice> PortDevices() {
    std::vector<PortDevice> devices;
    static const SetupApi api;
    if (!api.Complete()) return devices;
    for (const PortClass& portClass : kPortClasses) {
        HDEVINFO set = api.getClassDevs(&portClass.guid, nullptr, nullptr, DIGCF_PRESENT);
        if (set == INVALID_HANDLE_VALUE) continue;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD index = 0; api.enumDeviceInfo(set, index, &device); ++index) {
            wchar_t friendly[256] = L"";
            if (!api.getProperty(set, &device, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(friendly),
                                 sizeof friendly - sizeof *friendly, nullptr))
                continue;  // a port without a friendly name is listed by its name alone
            const HKEY opened = api.openDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, portClass.key, KEY_READ);
            if (opened == INVALID_HANDLE_VALUE) continue;
            const RegistryKey key(opened);
            devices.push_back({TextValue(key.Get(), portClass.value), Utf8FromWide(friendly)});
        }
        api.destroyList(set);
    }
    return devices;
}

}  // namespace

std::vector<PortEntry> DiscoverPorts(std::span<const std::string_view> fixedPorts) {
    return PortEntries(fixedPorts, SystemPorts(), PortDevices());
}

}  // namespace tastolink
