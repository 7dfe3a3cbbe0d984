#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "app/features/key_sequences.h"
#include "app/features/typed_texts.h"
#include "app/window/menu_bar.h"
#include "app/window/message_ids.h"
#include "app/window/window.h"
#include "phone/phone_key_table.h"
#include "settings/key_catalogue.h"

namespace tastolink {

// Control identifiers. The selectors' shared edit field carries the id 1001, so the
// selectors stay clear of it.
inline constexpr int kComboBoxIdBase = 1100;     // ComboBox<n>
inline constexpr int kSpeedButtonIdBase = 1200;  // SpeedButton<n>
enum ControlId : int {
    kEdit1 = 1301,
    kEdit2,
    kButton1,
    kButton2,
    kButton3,
    kLabel27,
};
inline constexpr int kStatusBarId = 1451;

inline constexpr int ComboBoxId(int number) { return kComboBoxIdBase + number; }
inline constexpr int SpeedButtonId(int number) { return kSpeedButtonIdBase + number; }

// Everything is laid out at 96 dpi and scaled to the window's dpi.
inline constexpr int kClientWidth = 441;
inline constexpr int kClientHeight = 680;

enum class Panel { Client, Settings, Keypad, Interval, Port };

struct PanelLayout {
    Panel panel;
    Box box;                   // in client coordinates
    std::string_view caption;  // UTF-8
};

// clang-format off
inline constexpr std::array<PanelLayout, 4> kGroupBoxes{{
    {Panel::Settings, {8, 8, 241, 665}, "Настройки"},
    {Panel::Keypad, {256, 8, 177, 295}, "Клавиатура телефона"},
    {Panel::Interval, {256, 344, 177, 97}, "Интервал повтора ввода с"},
    {Panel::Port, {256, 448, 177, 81}, "Выбор порта"},
}};
// clang-format on

// A place inside a panel's group box, in client coordinates; a place in Panel::Client as it is.
constexpr Box InPanel(Panel panel, Box box) {
    for (const PanelLayout& group : kGroupBoxes)
        if (group.panel == panel)
            return {group.box.left + box.left, group.box.top + box.top, box.width, box.height};
    return box;
}

constexpr std::string_view PanelCaption(Panel panel) {
    for (const PanelLayout& group : kGroupBoxes)
        if (group.panel == panel) return group.caption;
    return {};
}

enum class ControlKind { Edit, PushButton, PortSelector, BlueLabel };

// The controls of the interval and port panels, in tab order (the label takes no focus).
struct ControlLayout {
    int id;
    ControlKind kind;
    Panel panel;
    Box box;                // relative to the panel
    std::string_view text;  // UTF-8
};

inline constexpr std::string_view kFocusFieldHint = "Если телефон не реагирует поставьте курсор сюда";

// clang-format off
inline constexpr std::array<ControlLayout, 6> kPanelControls{{
    {kEdit2, ControlKind::Edit, Panel::Interval, {8, 32, 161, 21}, ""},
    {kButton1, ControlKind::PushButton, Panel::Interval, {8, 64, 73, 25}, "Get"},
    {kButton2, ControlKind::PushButton, Panel::Interval, {96, 64, 73, 25}, "Set"},
    {ComboBoxId(kPortSelectorNumber), ControlKind::PortSelector, Panel::Port, {8, 16, 161, 21}, ""},
    {kButton3, ControlKind::PushButton, Panel::Port, {8, 48, 161, 25}, "Выбрать"},
    {kLabel27, ControlKind::BlueLabel, Panel::Interval, {8, 16, 161, 13}, "клавиатуры:"},
}};
// clang-format on

inline constexpr ControlLayout kFocusField{
    kEdit1, ControlKind::Edit, Panel::Client, {256, 312, 177, 21}, kFocusFieldHint};

// The settings rows: headers, then one row per phone key.
struct ColumnHeader {
    int left, width;
    std::string_view text;
    std::string_view spoken;  // how a screen reader names the column's selectors, after the row
};
inline constexpr std::array<ColumnHeader, 2> kColumnHeaders{
    {{80, 76, "Клавиша:", "клавиша"}, {160, 78, "Альтернатива:", "альтернатива"}}};
inline constexpr int kRowTop = 32;
inline constexpr int kRowPitch = 24;
inline constexpr int kRowLabelLeft = 8;
inline constexpr int kMainSelectorLeft = 80;
inline constexpr int kAltSelectorLeft = 160;
inline constexpr int kSelectorWidth = 70;
inline constexpr int kSelectorHeight = 21;
inline constexpr int kLabelHeight = 13;

// Tab order of the binding selectors: by ComboBox number, except that ComboBox9 comes
// before ComboBox8.
inline constexpr std::array<int, 2 * kPhoneKeyCount> kSelectorTabOrder = [] {
    auto order = kBindingSelectorNumbers;
    std::swap(order[7], order[8]);
    return order;
}();

// The menu bar; an item of a switch shows a check mark while the switch is on, and the items of
// recording, playing and typing say "stop" while they run.
// clang-format off
inline constexpr std::array<MenuItem, 12> kMenu{{
    {"Файл", KeySequences::kRecordItem, kMenuRecord, true},
    {"Файл", KeySequences::kPlayItem, kMenuPlay, true},
    {"Файл", TypedTexts::kTypeItem, kMenuType, true},
    {"Файл", "", kMenuSeparator, true},
    {"Файл", "Выход", kMenuExit, true},
    {"Настройки", "По умолчанию", kMenuDefaults, true},
    {"Настройки", "Ответы телефона", kMenuAnswers, true},
    {"Настройки", "Следить за портами", kMenuWatchPorts, true},
    {"Настройки", "События телефона", kMenuPhoneEvents, true},
    {"Настройки", "Телефон…", kMenuPhone, true},
    {"Справка", "О программе", kMenuAbout, false},
    {"Справка", "Автор", kMenuAuthor, true},
}};
// clang-format on

}  // namespace tastolink
