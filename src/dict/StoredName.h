#pragma once
// The names under which installed dictionaries are stored, and how they compare.

#include "dict/CellDictHeader.h"

#include <string>

// "%u_%u_%u_%u.pvdict" from dictId and the version, or the source file's own
// name and extension when dictId is 0.
std::wstring MakeStoredName(const std::wstring& srcPath, const CellDictHeader& header);

// Same text before the first "_" or "." (exact, case-sensitive).
bool IsSameDictionary(const std::wstring& nameA, const std::wstring& nameB);

// Positive when nameA is newer, 0 when equal, negative when nameB is newer:
// "_"/"." tokens compared numerically (as _wtoi reads them), a trailing
// "pvdict" token dropped, then the token counts.
int CompareStoredVersions(const std::wstring& nameA, const std::wstring& nameB);
