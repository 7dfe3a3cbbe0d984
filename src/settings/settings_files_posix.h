#pragma once

#include "settings/settings_files.h"

namespace tastolink {

// Files through POSIX calls, for the command line: names are paths, relative ones resolved against
// the working directory; contents are bytes as they are.
class PosixSettingsFiles : public SettingsFiles {
public:
    std::string Read(const std::string& name) override;
    void Write(const std::string& name, std::string_view bytes) override;
    std::unique_ptr<GrowingFile> Create(const std::string& name) override;
    std::string DisplayText(std::string_view fileText) const override;
};

}  // namespace tastolink
