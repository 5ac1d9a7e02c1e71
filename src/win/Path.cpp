#include "win/Path.h"

namespace win {

namespace {

HMODULE ModuleOfThisCode()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleOfThisCode), &module);
    return module;
}

}  // namespace

std::wstring ParentFolder(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring AppendPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty())
        return name;
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

std::wstring ModulePath(HMODULE module)
{
    return PathFromBuffer(
        [module](wchar_t* buffer, DWORD units) { return ::GetModuleFileNameW(module, buffer, units) != 0; });
}

const std::wstring& ExePath()
{
    static const std::wstring path = ModulePath(nullptr);
    return path;
}

const std::wstring& OwnModulePath()
{
    static const std::wstring path = ModulePath(ModuleOfThisCode());
    return path;
}

}  // namespace win
