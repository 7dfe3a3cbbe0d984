#pragma once

#include "settings/settings_files.h"

namespace tastolink {

// Settings files through the Windows file API, resolved against the working directory.
class Win32SettingsFiles : public SettingsFiles {
public:
    std::string Read(const std::string& name) override;
    void Write(const std::string& name, std::string_view bytes) override;
    std::unique_ptr<GrowingFile> Create(const std::string& name) override;
    std::string DisplayText(std::string_view fileText) const override;
};

}  // namespace tastolink
