#include "app/features/port_watch.h"

#include <dbt.h>

#include <utility>

#include "app/main/main_window_layout.h"
#include "link/port_discovery_win32.h"
#include "settings/switch_files.h"
#include "shared/text_encoding.h"

namespace tastolink {

namespace {

// GUID_DEVINTERFACE_COMPORT.
constexpr GUID kComPortInterface{
    0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

}  // namespace

void PortWatch::Load(HWND window) {
    window_ = window;
    on_ = LoadSwitch(files_, kPortWatchSwitchFile);
    Listen(on_);
}

void PortWatch::Toggle() {
    on_ = !on_;
    Listen(on_);
    SaveSwitch(files_, kPortWatchSwitchFile, on_);
}

void PortWatch::Listen(bool listen) {
    if (listen && !notification_ && window_) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = kComPortInterface;
        notification_ = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    } else if (!listen && notification_) {
        UnregisterDeviceNotification(std::exchange(notification_, nullptr));
    }
}

void PortWatch::FillPortSelector(Selector& ports) const {
    std::vector<std::wstring> names;
    std::vector<Selector::EntryNote> notes;
    if (!on_) {
        for (std::string_view name : kPortNames) names.push_back(WideFromUtf8(name));
        return ports.SetEntries(std::make_shared<const std::vector<std::wstring>>(std::move(names)));
    }
    for (const PortEntry& entry : DiscoverPorts(kPortNames)) {
        names.push_back(WideFromUtf8(entry.name));
        notes.push_back({WideFromUtf8(entry.device), entry.present});
    }
    ports.SetEntries(std::make_shared<const std::vector<std::wstring>>(std::move(names)),
                     std::make_shared<const std::vector<Selector::EntryNote>>(std::move(notes)));
}

}  // namespace tastolink
