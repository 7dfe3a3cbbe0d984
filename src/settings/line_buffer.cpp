#include "settings/line_buffer.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "settings/settings_error.h"

namespace tastolink {

void LineBuffer::Load(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    try {
        std::string content;
        content.reserve(bytes.size());
        std::vector<std::size_t> ends;
        ends.reserve(std::count(bytes.begin(), bytes.end(), '\n') +
                     std::count(bytes.begin(), bytes.end(), '\r') + 1);
        std::size_t start = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n') continue;
            content.append(bytes, start, i - start);
            ends.push_back(content.size());
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            start = i + 1;
        }
        content.append(bytes, start);
        ends.push_back(content.size());
        content_.swap(content);
        ends_.swap(ends);
        changed_.clear();
    } catch (const std::bad_alloc&) {
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    } catch (const std::length_error&) {
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    }
}

std::string LineBuffer::Line(std::size_t k) const {
    if (k >= ends_.size()) return {};
    if (auto line = changed_.find(k); line != changed_.end()) return line->second;
    const std::size_t start = k == 0 ? 0 : ends_[k - 1];
    return content_.substr(start, ends_[k] - start);
}

void LineBuffer::SetLine(std::size_t k, std::string_view text) {
    if (k < ends_.size()) changed_[k] = text;
}

std::string LineBuffer::Text() const {
    std::string text;
    text.reserve(content_.size() + 2 * (ends_.size() - 1));
    std::size_t start = 0;
    auto changed = changed_.begin();
    for (std::size_t k = 0; k < ends_.size(); ++k) {
        if (k > 0) text += "\r\n";
        if (changed != changed_.end() && changed->first == k) {
            text += changed->second;
            ++changed;
        } else {
            text.append(content_, start, ends_[k] - start);
        }
        start = ends_[k];
    }
    return text;
}

}  // namespace tastolink
