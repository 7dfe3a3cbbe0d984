#include "app/port_watch.h"

#include "app/main_window_layout.h"
#include "link/port_discovery_win32.h"
#include "settings/switch_files.h"
#include "shared/text_encoding.h"

namespace tastolink {

void PortWatch::Load() { on_ = LoadSwitch(files_, kPortWatchSwitchFile); }

void PortWatch::Toggle() {
    on_ = !on_;
    SaveSwitch(files_, kPortWatchSwitchFile, on_);
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
