#include "settings/mapping_store.h"

namespace tastolink {

void MappingStore::LoadBindings(const std::string& fileName, Selectors& selectors) {
    scratchList_.Load(files_.Read(fileName));
    loaded_ = true;
    for (int k = kFirstLine; k <= kLastLine; ++k) selectors.SetText(k, scratchList_.Line(k));
}

void MappingStore::SaveBindings(const Selectors& selectors) {
    if (!loaded_) {
        if (!IsMissing(files_, kUserBindingsFile)) return;
        // A new file: an empty line 0, then one line per selector, each ending in a break.
        scratchList_.Load(std::string(kLastLine + 1, '\n'));
        loaded_ = true;
    }
    for (int k = kFirstLine; k <= kLastLine; ++k) scratchList_.SetLine(k, selectors.Text(k));
    files_.Write(kUserBindingsFile, scratchList_.Text());
}

}  // namespace tastolink
