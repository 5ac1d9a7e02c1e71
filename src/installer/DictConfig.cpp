#include "installer/DictConfig.h"

#include "host/ConfigStore.h"
#include "host/ImeLocations.h"
#include "host/XLog.h"
#include "installer/DictCapacity.h"
#include "installer/DictListRules.h"
#include "installer/KillPoint.h"
#include "installer/PendingWorkRecord.h"

#include <windows.h>

namespace {

std::wstring ReadListText(IConfigureInst* cfg, const wchar_t* key)
{
    std::wstring text;
    (void)ReadConfigString(cfg, key, text);  // a failed read leaves the empty text
    return text;
}

void DeleteObsoleteFiles(const DictList& paths)
{
    for (const std::wstring& path : paths) {
        if (DeleteDictFile(path) < 0)
            XLog(kLogError, kLogTag, L"error removing obsolete dict file(%u): %s", ::GetLastError(), path.c_str());
    }
}

}  // namespace

std::wstring GetFallbackDictDir()
{
    wchar_t folder[kPathUnits] = {};
    GetUserDataDir(folder, kPathUnits, true);
    return std::wstring(folder) + L"\\dict\\";
}

bool ReadFolderSetting(IConfigureInst* cfg, const std::wstring& key, std::wstring& folder)
{
    return ReadConfigString(cfg, key, folder) && !folder.empty();
}

bool GetDictDir(bool useAccountDir, std::wstring& dictDir)
{
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return false;
    std::wstring folder;
    if (ReadFolderSetting(cfg, useAccountDir ? kAccountDataDirKey : kDataDirKey, folder))
        dictDir = folder + (useAccountDir ? L"\\dict\\" : L"\\");
    else
        dictDir = GetFallbackDictDir();
    return true;
}

void LoadInstalledDicts(DictList& list)
{
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return;
    std::wstring text;
    if (ReadConfigString(cfg, kInstalledDictKey, text))
        list.Parse(text);
    if (ReadConfigString(cfg, kAutopushInstalledKey, text))
        list.AddTokens(text);
}

bool UpdateDictLists(const std::vector<std::wstring>& storedNames, bool activate)
{
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return false;

    const std::wstring installedText = ReadListText(cfg, kInstalledDictKey);
    const std::wstring activeText = ReadListText(cfg, kActiveDictKey);
    DictList installed;
    installed.Parse(installedText);
    DictList active;
    active.Parse(activeText);
    const DictList installedBefore = installed;
    const DictList activeBefore = active;
    DictList obsolete;
    const bool installedChanged = AddInstalledNames(installed, storedNames, obsolete);
    const bool activeChanged = UpdateActiveNames(active, obsolete, storedNames, activate);

    PendingWork work = PendingWork::FromListChanges(installedBefore, installed, activeBefore, active);
    std::wstring folder;
    if (!obsolete.empty() && GetDictDir(true, folder)) {
        for (const std::wstring& name : obsolete)
            work.deleteFiles.Insert(folder + name);
    }
    RecordPendingWork(work);
    KILL_POINT("work-recorded");

    if (installedChanged) {
        const std::wstring newText = installed.Join();
        WriteConfigString(cfg, kInstalledDictKey, newText);
        XLog(kLogTrace, kLogTag, L"写入词库列表：[%s] => [%s]", installedText.c_str(), newText.c_str());
    }
    KILL_POINT("installed-written");

    if (activeChanged) {
        const std::wstring newText = active.Join();
        WriteConfigString(cfg, kActiveDictKey, newText);
        XLog(kLogTrace, kLogTag, L"写入启用的词库列表：[%s] => [%s]", activeText.c_str(), newText.c_str());
    }

    // The installed list is read back as stored: the ordered names are matched
    // against its raw text, not against its elements.
    const std::wstring orderedText = ReadListText(cfg, kOrderedDictKey);
    const std::wstring nowText = ReadListText(cfg, kInstalledDictKey);
    WriteConfigString(cfg, kOrderedDictKey, CleanOrderedList(orderedText, nowText));

    KILL_POINT("lists-written");
    DeleteObsoleteFiles(work.deleteFiles);
    return true;
}
