#include "phone/keypad_layouts.h"

namespace tastolink {
namespace {

// The punctuation most phones put on 1, and the space on 0, in both layouts.
constexpr char32_t kOne[] = U".,?!-'\"()@/:;1";
constexpr char32_t kZero[] = U" 0";

}  // namespace

KeypadLetters LettersOf(KeypadLayout layout) {
    if (layout == KeypadLayout::Latin)  // ITU-T E.161
        return {kZero, kOne, U"abc2", U"def3", U"ghi4", U"jkl5", U"mno6", U"pqrs7", U"tuv8", U"wxyz9"};
    return {kZero, kOne, U"абвг2", U"деёжз3", U"ийкл4", U"мноп5", U"рсту6", U"фхцч7", U"шщъы8", U"ьэюя9"};
}

std::u32string WithOwnDigit(std::u32string letters, int digit) {
    const char32_t own = U'0' + digit;
    if (letters.find(own) == std::u32string::npos) letters += own;
    return letters;
}

}  // namespace tastolink
