#pragma once
// Libraries loaded at run time and the entry points looked up in them: the one
// place where an export's address becomes a typed function pointer.

#include "win/UniqueResource.h"

#include <windows.h>

#include <string>
#include <type_traits>

namespace win {

// The export `name` of `module` as the function pointer type Fn; null when the
// module is null or lacks the export.
template <class Fn>
Fn Export(HMODULE module, const char* name)
{
    static_assert(std::is_pointer_v<Fn> && std::is_function_v<std::remove_pointer_t<Fn>>,
                  "an export is taken as a pointer to a function");
    if (!module)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// An export of a system library that every process has loaded (user32, ntdll,
// ...), for functions that older systems lack; null there.
template <class Fn>
Fn SystemExport(const wchar_t* library, const char* name)
{
    return Export<Fn>(::GetModuleHandleW(library), name);
}

// Loads a library by its path; invalid when it cannot be loaded.
UniqueModule LoadModule(const std::wstring& path);

// Loads a library from the system folder only, never from beside the program.
UniqueModule LoadSystemModule(const wchar_t* fileName);

// A reference on a library that is already loaded in the process, found by its
// file name; invalid when there is none. Never loads anything.
UniqueModule ReferenceLoadedModule(const wchar_t* fileName);

// A library that stays loaded until the process ends: it is never freed, so the
// entry points taken from it stay valid through the exit-time teardown, which
// may still call them.
class ResidentModule {
public:
    constexpr ResidentModule() noexcept = default;
    explicit ResidentModule(UniqueModule module) noexcept : module_(module.Release()) {}

    HMODULE Get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }

    template <class Fn>
    Fn Export(const char* name) const
    {
        return win::Export<Fn>(module_, name);
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace win
