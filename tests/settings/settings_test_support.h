#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "settings/settings_files.h"
#include "shared/selectors.h"

namespace tastolink {

// Settings files in memory: a name without content is missing, a name in `unreadable` exists
// but can't be read.
struct FakeSettingsFiles : SettingsFiles {
    std::string Read(const std::string& name) override {
        const std::string message = "Cannot open file \"C:\\run\\" + name + "\". ";
        if (unreadable.contains(name)) throw SettingsError(message + "Denied", "Denied");
        if (!files.contains(name)) throw SettingsFileMissing(message + "Not found", "Not found");
        return files[name];
    }
    void Write(const std::string& name, std::string_view bytes) override {
        writes.push_back(name);
        files[name] = bytes;
    }
    std::unique_ptr<GrowingFile> Create(const std::string& name) override {
        struct Growing : GrowingFile {
            Growing(FakeSettingsFiles& files, std::string name) : files(files), name(std::move(name)) {}
            void Append(std::string_view bytes) override {
                if (files.full) throw SettingsError("There is not enough space on the disk", "нет места");
                files.files[name] += bytes;
            }
            FakeSettingsFiles& files;
            std::string name;
        };
        if (unreadable.contains(name)) throw SettingsError("Cannot create file", "Denied");
        files[name].clear();
        return std::make_unique<Growing>(*this, name);
    }
    std::string DisplayText(std::string_view text) const override { return "<" + std::string(text) + ">"; }

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    std::vector<std::string> writes;
    bool full = false;  // a growing file's pieces no longer fit
};

// Selectors in memory by ComboBox number.
struct FakeSelectors : Selectors {
    std::string Text(int number) const override { return texts.contains(number) ? texts.at(number) : ""; }
    void SetText(int number, const std::string& text) override { texts[number] = text; }
    void ReplaceItems(std::span<const int>, std::string_view) override {}

    std::map<int, std::string> texts;
};

// The message of the SettingsError that operation raises, or "no error".
std::string ErrorOf(const auto& operation) {
    try {
        operation();
    } catch (const SettingsError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace tastolink
