#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tastolink {

// The window speaks Russian and the command line English. Each text of a fault is written once
// in both, side by side, so that neither front end words a fault of its own.
enum class Language { Russian, English };

struct Wording {
    std::string_view russian;
    std::string_view english;
};

// The words in `language` with each "{}" replaced by the next of `parts`, in order.
std::string Worded(const Wording& wording, Language language,
                   std::initializer_list<std::string_view> parts = {});

}  // namespace tastolink
