#pragma once
// A dictionary as the installer shows it.

#include "core/CellDictHeader.h"

#include <string>
#include <vector>

// What the engine hands to the UI: the header, the stored name, up to 10 samples.
struct CellDictInfo {
    CellDictHeader header{};
    std::wstring storedName;
    std::vector<std::wstring> samples;

    // Every sample followed by one space, then "..."; "<无>" when there are none.
    std::wstring GetSampleText() const;
};
