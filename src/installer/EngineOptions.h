#pragma once
// The command line as the engine reads it: the option names, the option table
// the parser is built from, and the options of one run, read once.

#include "core/SimpleOptParser.h"

#include <optional>
#include <string>

namespace opt {
inline constexpr const wchar_t* kReg = L"-reg";
inline constexpr const wchar_t* kUnreg = L"-unreg";
inline constexpr const wchar_t* kSilent = L"-silent";
inline constexpr const wchar_t* kAccountDir = L"-accountdir";
inline constexpr const wchar_t* kDataDir = L"-datadir";
inline constexpr const wchar_t* kDest = L"-dest";
inline constexpr const wchar_t* kDeselect = L"-deselect";
inline constexpr const wchar_t* kSourceDir = L"-sourcedir";
inline constexpr const wchar_t* kRemoveSource = L"-removesource";
inline constexpr const wchar_t* kDelete = L"-delete";
}  // namespace opt

// "-reg -unreg -silent ... -delete", each value-taking name followed by "%s".
std::wstring EngineOptionSpec();

struct EngineOptions {
    bool reg = false;
    bool unreg = false;
    bool silent = false;
    bool remove = false;        // "-delete"
    bool useAccountDir = true;  // "-accountdir", or no "-datadir"
    bool deselect = false;
    bool removeSource = false;
    std::optional<std::wstring> dest;  // set, possibly empty
    std::wstring sourceFolder;         // "-sourcedir" ending in a separator, or ""

    static EngineOptions Read(const SimpleOptParser::OptionMap& options);

    // The stored name "-dest" gives a single install: its text, when not empty.
    std::optional<std::wstring> SingleDest() const;
    // The stored name "-dest" gives a batch of `count` files: its text as it is,
    // when the batch names exactly one file.
    std::optional<std::wstring> BatchDest(std::size_t count) const;
};
