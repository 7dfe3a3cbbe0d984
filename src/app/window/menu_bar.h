#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace tastolink {

// An item of a window's menu bar, in the table that lays the bar out.
struct MenuItem {
    std::string_view menu;  // the popup it belongs to (UTF-8)
    std::string_view item;  // empty for a separator
    int id;                 // its WM_COMMAND, 0 for a separator
    bool enabled;
};

// The menu bar of `items`, one popup for each run of items of the same menu; nullptr when the
// system has no menu to give.
HMENU MakeMenuBar(std::span<const MenuItem> items);

}  // namespace tastolink
