#pragma once
// Paths as text: filling one from a Win32 function that writes into a buffer,
// the folder of a path, a name appended to a folder, and the program's own paths.

#include <windows.h>

#include <cstddef>
#include <string>

namespace win {

inline constexpr std::size_t kPathUnits = MAX_PATH;

// Calls fill(buffer, kPathUnits), a Win32 call that writes a path into a buffer of
// that many units and returns true on success, and gives the text it wrote up to
// its terminator; empty when fill fails. A path cut at the buffer's end is kept cut.
template <class Fill>
std::wstring PathFromBuffer(Fill fill)
{
    wchar_t buffer[kPathUnits] = {};
    if (!fill(buffer, static_cast<DWORD>(kPathUnits)))
        return {};
    buffer[kPathUnits - 1] = L'\0';  // older systems leave a cut path unterminated
    return buffer;
}

// The folder that holds `path`: the text before its last backslash; empty when it has none.
std::wstring ParentFolder(const std::wstring& path);

// `name` as a component of `folder`, with one backslash between them; `name` alone
// when there is no folder.
std::wstring AppendPath(const std::wstring& folder, const std::wstring& name);

// The full path of a loaded module's file; a null module means the program's executable.
std::wstring ModulePath(HMODULE module);

// The full path of the program's executable, asked once.
const std::wstring& ExePath();

// The full path of the module that holds this code (the layers are linked into
// the program, so for the installer its executable), asked once.
const std::wstring& OwnModulePath();

}  // namespace win
