#pragma once

#include <array>
#include <string>

namespace tastolink {

// What each digit key of a phone cycles through when it writes text, by digit (0 to 9): its
// letters in order, then the digit itself, which ends the cycle.
using KeypadLetters = std::array<std::u32string, 10>;

enum class KeypadLayout { Russian, Latin };

KeypadLetters LettersOf(KeypadLayout layout);

// Letters a profile gives a key, with the key's own digit added at the end of the cycle where
// they lack it.
std::u32string WithOwnDigit(std::u32string letters, int digit);

}  // namespace tastolink
