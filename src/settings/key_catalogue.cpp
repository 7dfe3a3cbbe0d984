#include "settings/key_catalogue.h"

#include <new>
#include <stdexcept>

#include "settings/settings_error.h"

namespace tastolink {

void LoadKeyCatalogue(SettingsFiles& files, Selectors& selectors) {
    try {
        selectors.ReplaceItems(kBindingSelectorNumbers, files.Read(kCatalogueFile));
    } catch (const std::bad_alloc&) {
        // A catalogue too large for the memory left: the same message as a refused text.
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    } catch (const std::length_error&) {
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    }
}

}  // namespace tastolink
