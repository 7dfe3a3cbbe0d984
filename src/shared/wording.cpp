#include "shared/wording.h"

namespace tastolink {

std::string Worded(const Wording& wording, Language language, std::initializer_list<std::string_view> parts) {
    std::string_view words = language == Language::Russian ? wording.russian : wording.english;
    std::string text;
    const std::string_view* part = parts.begin();
    for (std::size_t gap; (gap = words.find("{}")) != std::string_view::npos && part != parts.end(); ++part) {
        text.append(words.substr(0, gap)).append(*part);
        words.remove_prefix(gap + 2);
    }
    return text.append(words);
}

}  // namespace tastolink
