#include "app/features/port_watch.h"

#include <dbt.h>

#include <utility>

#include "app/window/message_ids.h"
#include "link/port_discovery_win32.h"
#include "link/port_names.h"
#include "settings/switch_files.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// GUID_DEVINTERFACE_COMPORT.
constexpr GUID kComPortInterface{
    0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};
// Opening a port that is not there returns at once.
constexpr UINT kRetryMs = 1000;

}  // namespace

PortWatch::PortWatch(WindowConversation& phone, SettingsFiles& files)
    : phone_(phone), switch_(files, kPortWatchSwitchFile, kMenuWatchPorts) {
    phone_.Phone().AddListener(*this);
}

PortWatch::~PortWatch() {
    Listen(false);
    phone_.Phone().RemoveListener(*this);
}

void PortWatch::Load(HWND window, Selector& ports) {
    window_ = window;
    ports_ = &ports;
    switch_.Load(window);
    Apply();
    ports.SetText(ports.EntryList().front());
    ports.SetBeforeDrop([this] {
        if (switch_.On()) FillPortSelector();
    });
}

void PortWatch::Toggle() {
    switch_.Flip();
    Apply();
    switch_.Save();
}

void PortWatch::Apply() {
    Listen(switch_.On());
    FillPortSelector();
    phone_.Phone().SetWatching(switch_.On());
    FollowWaiting();
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

void PortWatch::FillPortSelector() const {
    if (!ports_) return;
    SelectorEntries names;
    std::vector<Selector::EntryNote> notes;
    if (!switch_.On()) {
        for (std::string_view name : kPortNames) names.Add(WideFromUtf8(name));
        return ports_->SetEntries(std::make_shared<const SelectorEntries>(std::move(names)));
    }
    for (const PortEntry& entry : DiscoverPorts(kPortNames)) {
        names.Add(WideFromUtf8(entry.name));
        notes.push_back({WideFromUtf8(entry.device), entry.present});
    }
    ports_->SetEntries(std::make_shared<const SelectorEntries>(std::move(names)),
                       std::make_shared<const std::vector<Selector::EntryNote>>(std::move(notes)));
}

// The ports the system has may have changed, the port chosen may have left or be back.
void PortWatch::OnDeviceChange(WPARAM event, LPARAM data) {
    if (!switch_.On()) return;
    FillPortSelector();
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (event == DBT_DEVICEREMOVECOMPLETE && header && header->dbch_devicetype == DBT_DEVTYP_PORT)
        phone_.Phone().DeviceLeft(
            Utf8FromWide(reinterpret_cast<const DEV_BROADCAST_PORT_W*>(data)->dbcp_name));
    if (event == DBT_DEVICEARRIVAL) phone_.Phone().RetryWaiting();
}

void PortWatch::OnRetryTimer() { phone_.Phone().RetryWaiting(); }

// Only the port's own news can start or end a wait: keys and answers pass by at full speed.
void PortWatch::Heard(const ConversationEvent& event) {
    if (std::holds_alternative<heard::PortLost>(event) || std::holds_alternative<heard::PortBack>(event) ||
        std::holds_alternative<heard::Opened>(event) || std::holds_alternative<heard::NotOpened>(event))
        FollowWaiting();
}

void PortWatch::FollowWaiting() const {
    if (phone_.Phone().Waiting())
        SetTimer(window_, kPortRetryTimerId, kRetryMs, nullptr);
    else
        KillTimer(window_, kPortRetryTimerId);
}

}  // namespace tastolink
