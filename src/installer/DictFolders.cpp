#include "installer/DictFolders.h"

#include "host/ConfigStore.h"
#include "host/ImeLocations.h"
#include "win/FileSystem.h"

namespace {

constexpr const wchar_t* kAccountDataDirKey = L"/Common/accountDataDir";
constexpr const wchar_t* kDataDirKey = L"/Common/dataDir";

std::wstring FallbackDictDir() { return UserDataFolder(true) + L"\\dict\\"; }

// False when the value cannot be read or is empty: an empty value names no folder.
bool ReadFolderSetting(IConfigureInst* cfg, const wchar_t* key, std::wstring& folder)
{
    return ReadConfigString(cfg, key, folder) && !folder.empty();
}

}  // namespace

bool GetDictDir(bool useAccountDir, std::wstring& dictDir)
{
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return false;
    std::wstring folder;
    if (ReadFolderSetting(cfg, useAccountDir ? kAccountDataDirKey : kDataDirKey, folder))
        dictDir = folder + (useAccountDir ? L"\\dict\\" : L"\\");
    else
        dictDir = FallbackDictDir();
    return true;
}

bool OpenDictDir(bool useAccountDir, std::wstring& dictDir)
{
    return GetDictDir(useAccountDir, dictDir) && win::EnsureFolder(dictDir);
}

std::wstring RemovalDictDir()
{
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return {};
    std::wstring folder;
    return ReadFolderSetting(cfg, kAccountDataDirKey, folder) ? folder + L"\\Dict\\" : FallbackDictDir();
}
