#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tastolink {

// The eight pictures that some keypad buttons show instead of a caption.
enum class KeypadPicture {
    None,
    Menu,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Dot,
    GreenHandset,
    RedHandset
};

// One phone key: its row of the settings panel, its keypad button, its codes and its name in
// phones.ini.
struct PhoneKey {
    std::string_view label;    // row label, UTF-8, dots included
    int mainSelector;          // ComboBox<n> of the main binding
    int altSelector;           // ComboBox<n> of the alternative binding
    int keypadButton;          // SpeedButton<n>
    std::string_view caption;  // button caption (UTF-8) when it shows no picture
    KeypadPicture picture;
    int left, top;                  // button position inside the keypad panel
    std::string_view code;          // key code between the quotes of AT+CKPD, as the program always sent it
    std::string_view standardCode;  // the key's character in 3GPP TS 27.007; empty for a key it lacks
    std::string_view fileName;      // the button's name in phones.ini: key.<fileName> = <code>
};

inline constexpr int kPhoneKeyCount = 26;
inline constexpr int kKeypadButtonSize = 30;
// ComboBox1 to ComboBox53: a main and an alternative selector for each row, and the port
// selector, which takes number 45 in their midst.
inline constexpr int kSelectorCount = 2 * kPhoneKeyCount + 1;
inline constexpr int kPortSelectorNumber = 45;

// Rows in the order of the settings panel, which is also the order of the repeat scan.
// clang-format off
inline constexpr std::array<PhoneKey, kPhoneKeyCount> kPhoneKeyTable{{
    {"Единица.........", 1, 11, 8, "1", KeypadPicture::None, 40, 152, "1", "1", "1"},
    {"Двойка...........", 2, 12, 9, "2", KeypadPicture::None, 72, 152, "2", "2", "2"},
    {"Тройка...........", 3, 13, 10, "3", KeypadPicture::None, 104, 152, "3", "3", "3"},
    {"Четвёрка.......", 4, 14, 11, "4", KeypadPicture::None, 40, 184, "4", "4", "4"},
    {"Пятёрка..........", 5, 15, 12, "5", KeypadPicture::None, 72, 184, "5", "5", "5"},
    {"Шестёрка........", 6, 16, 13, "6", KeypadPicture::None, 104, 184, "6", "6", "6"},
    {"Семёрка.........", 7, 17, 14, "7", KeypadPicture::None, 40, 216, "7", "7", "7"},
    {"Восьмёрка.....", 8, 18, 15, "8", KeypadPicture::None, 72, 216, "8", "8", "8"},
    {"Девятка..........", 9, 19, 16, "9", KeypadPicture::None, 104, 216, "9", "9", "9"},
    {"Ноль...............", 10, 20, 18, "0", KeypadPicture::None, 72, 247, "0", "0", "0"},
    {"Звёздочка......", 21, 31, 17, "*", KeypadPicture::None, 40, 247, "*", "*", "star"},
    {"Решётка.........", 22, 32, 19, "#", KeypadPicture::None, 104, 247, "#", "#", "hash"},
    {"Влево..............", 23, 33, 4, "", KeypadPicture::ArrowLeft, 40, 88, ":L", "<", "left"},
    {"Вправо............", 24, 34, 6, "", KeypadPicture::ArrowRight, 104, 88, ":R", ">", "right"},
    {"Вверх..............", 25, 35, 2, "", KeypadPicture::ArrowUp, 72, 56, ":X", "^", "up"},
    {"Вниз................", 26, 36, 7, "", KeypadPicture::ArrowDown, 72, 120, ":C", "V", "down"},
    {"Центр..............", 27, 37, 5, "", KeypadPicture::Dot, 72, 88, ":0", "", "centre"},
    {"Soft-Левая......", 28, 38, 1, "L", KeypadPicture::None, 40, 24, "[", "[", "soft1"},
    {"Soft-Правая....", 29, 39, 3, "R", KeypadPicture::None, 104, 24, "]", "]", "soft2"},
    {"Красная..........", 30, 40, 21, "", KeypadPicture::RedHandset, 104, 56, "E", "E", "end"},
    {"Зелёная..........", 41, 42, 20, "", KeypadPicture::GreenHandset, 40, 56, "S", "S", "send"},
    {"Меню...............", 43, 44, 22, "", KeypadPicture::Menu, 72, 24, "M", "M", "menu"},
    {"Звук выше......", 46, 47, 23, "/\\", KeypadPicture::None, 8, 24, "U", "U", "volume_up"},
    {"Звук ниже.......", 48, 49, 24, "\\/", KeypadPicture::None, 8, 56, "D", "D", "volume_down"},
    {"Камера............", 50, 51, 26, "Cam", KeypadPicture::None, 136, 56, ":1", "", "camera"},
    {"Smart-кнопка..", 52, 53, 25, "Smart", KeypadPicture::None, 136, 24, ":T", "", "smart"},
}};
// clang-format on

// The selectors of the first 21 rows pass their key-downs to the held-key table.
inline constexpr int kRowsWithKeyCapture = 21;

// The lines that press a phone key by its own code, and that hold it down for a long press
// (the second parameter is the hold time in tenths of a second). A profile's keys are pressed
// by KeypadCommand and LongPressCommand of phone/phone_profile.h.
std::string KeypadCommand(const PhoneKey& key);
std::string LongPressCommand(const PhoneKey& key);
inline constexpr int kLongPressTenths = 20;

// The row (0-based) of the button that phones.ini calls `fileName`, or -1.
int RowNamed(std::string_view fileName);

// The phone key's name: its row label without the dots ("Пятёрка", "Вверх").
std::string_view RowName(const PhoneKey& key);

// The row index (0-based) whose keypad button is SpeedButton<n>, or -1.
int RowOfKeypadButton(int speedButtonNumber);

}  // namespace tastolink
