#include "app/window/menu_bar.h"

#include "shared/text_encoding.h"

namespace tastolink {

HMENU MakeMenuBar(std::span<const MenuItem> items) {
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    std::string_view current;
    for (const MenuItem& item : items) {
        if (!popup || item.menu != current) {
            popup = CreatePopupMenu();
            current = item.menu;
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), WideFromUtf8(item.menu).c_str());
        }
        if (item.item.empty())
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(popup, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                        static_cast<UINT_PTR>(item.id), WideFromUtf8(item.item).c_str());
    }
    return bar;
}

}  // namespace tastolink
