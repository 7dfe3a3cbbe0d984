#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "settings/settings_error.h"

namespace tastolink {

// The four settings files, named without a directory: they are found in the working
// directory at the moment of use.
inline constexpr char kCatalogueFile[] = "Items.itm";
inline constexpr char kUserBindingsFile[] = "itemindex.itm";
inline constexpr char kDefaultBindingsFile[] = "default.itm";
inline constexpr char kIntervalFile[] = "interval.int";

// A file written a piece at a time (a recording), each piece in the file when Append returns, so
// that what was written stays whatever ends the writing.
class GrowingFile {
public:
    virtual ~GrowingFile() = default;
    // Throws SettingsError whose Reason() says why the piece did not go in whole.
    virtual void Append(std::string_view bytes) = 0;
};

// The file system as the program sees it: the settings files, and the files the user names
// (key sequences, recordings). Contents are raw bytes; names and messages are UTF-8.
class SettingsFiles {
public:
    virtual ~SettingsFiles() = default;
    // The whole content. Throws SettingsError: Cannot open file "<full path>". <reason>;
    // SettingsFileMissing when the file does not exist.
    virtual std::string Read(const std::string& name) = 0;
    // Replaces the file by bytes; a failed write leaves the previous file as it was. Removes
    // what an interrupted earlier write of that file left behind.
    // Throws SettingsError: Cannot create file "<full path>". <reason>, or Stream write error.
    virtual void Write(const std::string& name, std::string_view bytes) = 0;
    // Makes `name` anew, replacing a file of that name, to be written a piece at a time.
    // Throws SettingsError (Cannot create file ...) with the system's reason.
    virtual std::unique_ptr<GrowingFile> Create(const std::string& name) = 0;
    // A text taken from a file, converted to UTF-8 so that a message can quote it.
    virtual std::string DisplayText(std::string_view fileText) const = 0;
};

// True when the file is known not to exist. A file that exists but can't be read is not
// missing: nothing may be saved over it.
inline bool IsMissing(SettingsFiles& files, const std::string& name) {
    try {
        files.Read(name);
    } catch (const SettingsFileMissing&) {
        return true;
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace tastolink
