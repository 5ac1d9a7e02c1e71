#pragma once
// The names under which installed dictionaries are stored, and how they compare.

#include "core/CellDictHeader.h"

#include <string>
#include <string_view>

// "%u_%u_%u_%u.pvdict" from dictId and the version, or the source file's own
// name and extension when dictId is 0.
[[nodiscard]] std::wstring MakeStoredName(const std::wstring& srcPath, const CellDictHeader& header);

// The text before the first "_" or "." of a stored name (the whole name when it
// has neither): two names are the same dictionary exactly when these are equal.
std::wstring_view DictIdentity(std::wstring_view storedName);

// Same text before the first "_" or "." (exact, case-sensitive).
bool IsSameDictionary(const std::wstring& nameA, const std::wstring& nameB);

// Positive when nameA is newer, 0 when equal, negative when nameB is newer:
// "_"/"." tokens compared numerically (as _wtoi reads them), a trailing
// "pvdict" token dropped, then the token counts.
[[nodiscard]] int CompareStoredVersions(const std::wstring& nameA, const std::wstring& nameB);
