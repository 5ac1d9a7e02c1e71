#include "win/Module.h"

namespace win {

UniqueModule LoadModule(const std::wstring& path) { return UniqueModule(::LoadLibraryW(path.c_str())); }

UniqueModule LoadSystemModule(const wchar_t* fileName)
{
    return UniqueModule(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

UniqueModule ReferenceLoadedModule(const wchar_t* fileName)
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(0, fileName, &module))
        return {};
    return UniqueModule(module);
}

}  // namespace win
