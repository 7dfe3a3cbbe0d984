#pragma once

#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "settings/settings_error.h"
#include "settings/settings_files.h"

namespace tastolink {

// Settings files in memory. A name without content is missing; a name in `unreadable` exists
// but can't be read; `outOfMemory` makes every read run out of memory. DisplayText marks
// what it converted.
class FakeSettingsFiles : public SettingsFiles {
public:
    std::string Read(const std::string& name) override {
        reads.push_back(name);
        if (outOfMemory) throw std::bad_alloc();
        if (unreadable.contains(name))
            throw SettingsError("Cannot open file \"C:\\run\\" + name + "\". Denied");
        if (!files.contains(name))
            throw SettingsFileMissing("Cannot open file \"C:\\run\\" + name + "\". Not found");
        return files[name];
    }
    void Write(const std::string& name, std::string_view bytes) override {
        writes.push_back(name);
        files[name] = bytes;
    }
    std::string DisplayText(std::string_view fileText) const override {
        return "<" + std::string(fileText) + ">";
    }

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    bool outOfMemory = false;
    std::vector<std::string> reads, writes;
};

// The message of the SettingsError that operation raises, or "no error".
template <class Operation>
std::string ErrorOf(Operation operation) {
    try {
        operation();
    } catch (const SettingsError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace tastolink
