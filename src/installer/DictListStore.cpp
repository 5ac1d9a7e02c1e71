#include "installer/DictListStore.h"

#include "core/PendingWork.h"
#include "host/ConfigStore.h"
#include "host/XLog.h"
#include "installer/DictFolders.h"
#include "installer/KillPoint.h"
#include "installer/PendingWorkRecord.h"
#include "installer/StoredFiles.h"

#include <windows.h>

namespace {

constexpr const wchar_t* kInstalledDictKey = L"/Dict/InstalledDict";
constexpr const wchar_t* kActiveDictKey = L"/Dict/ActiveDict";
constexpr const wchar_t* kOrderedDictKey = L"/Dict/OrderedDict";
constexpr const wchar_t* kAutopushInstalledKey = L"/Local/Autopush/Dict/installedList";

enum class OrderedCleanup { kAlways, kWhenNamesAdded, kNever };

// How each command writes: the install and the completion write a list only when
// it changed, the removal always writes both (so they come back sorted).
struct ListPolicy {
    bool needsLists;
    bool writeUnchanged;
    bool logChanges;
    OrderedCleanup ordered;
    const char* installedWritten;  // kill points of the test build
    const char* listsWritten;
};
const ListPolicy& PolicyOf(ListCommand command)
{
    static const ListPolicy install{false, false, true, OrderedCleanup::kAlways, "installed-written", "lists-written"};
    static const ListPolicy removal{
        true, true, false, OrderedCleanup::kNever, "removal-installed-written", "removal-lists-written"};
    static const ListPolicy completion{false,
                                       false,
                                       false,
                                       OrderedCleanup::kWhenNamesAdded,
                                       "completion-installed-written",
                                       "completion-lists-written"};
    return command == ListCommand::kInstall ? install : command == ListCommand::kRemoval ? removal : completion;
}

void WriteList(IConfigureInst* cfg, const wchar_t* key, const std::wstring& oldText, const std::wstring& newText,
               const wchar_t* logFormat)
{
    WriteConfigString(cfg, key, newText);
    if (logFormat)
        XLog(kLogTrace, kLogTag, logFormat, oldText.c_str(), newText.c_str());
}

// The ordered names, ascending, without those that occur in the installed list's text.
void WriteOrderedList(IConfigureInst* cfg, const std::wstring& installedText)
{
    std::wstring orderedText;
    (void)ReadConfigString(cfg, kOrderedDictKey, orderedText);  // a missing list is an empty one
    WriteConfigString(cfg, kOrderedDictKey, CleanOrderedList(orderedText, installedText));
}

}  // namespace

bool ChangeDictLists(ListCommand command, bool recordWork, const std::function<void(DictLists&)>& edit)
{
    const ListPolicy& policy = PolicyOf(command);
    IConfigureInst* cfg = GetConfigureInst();
    if (!cfg)
        return false;
    std::wstring installedText, activeText;
    // Elsewhere a list that cannot be read counts as empty.
    const bool installedRead = ReadConfigString(cfg, kInstalledDictKey, installedText);
    const bool activeRead = ReadConfigString(cfg, kActiveDictKey, activeText);
    if (policy.needsLists && !(installedRead && activeRead))
        return false;

    DictLists lists;
    lists.installed.Parse(installedText);
    lists.active.Parse(activeText);
    const DictList installedBefore = lists.installed, activeBefore = lists.active;
    edit(lists);
    KeepNothingLost(activeBefore, lists);

    const std::wstring folder = command == ListCommand::kRemoval ? RemovalDictDir() : PendingRecordFolder();
    PendingWork work = PendingWork::FromListChanges(installedBefore, lists.installed, activeBefore, lists.active);
    for (const std::wstring& name : lists.deleteNames)
        work.deleteFiles.Insert(folder + name);
    if (recordWork && !work.Empty()) {
        RecordPendingWork(work);
        KILL_POINT("work-recorded");
    }

    const std::wstring installedNow = lists.installed.Join();
    if (lists.installed != installedBefore || policy.writeUnchanged)
        WriteList(cfg, kInstalledDictKey, installedText, installedNow,
                  policy.logChanges ? L"写入词库列表：[%s] => [%s]" : nullptr);
    KILL_POINT(policy.installedWritten);
    if (lists.active != activeBefore || policy.writeUnchanged)
        WriteList(cfg, kActiveDictKey, activeText, lists.active.Join(),
                  policy.logChanges ? L"写入启用的词库列表：[%s] => [%s]" : nullptr);
    if (policy.ordered == OrderedCleanup::kAlways ||
        (policy.ordered == OrderedCleanup::kWhenNamesAdded && !work.addInstalled.empty()))
        WriteOrderedList(cfg, installedNow);
    KILL_POINT(policy.listsWritten);

    for (const std::wstring& path : work.deleteFiles) {
        // A file that stays is no longer listed, and harmless; the install says so.
        if (DeleteDictFile(path) < 0 && policy.logChanges)
            XLog(kLogError, kLogTag, L"error removing obsolete dict file(%u): %s", ::GetLastError(), path.c_str());
    }
    return true;
}

bool UpdateDictLists(const std::vector<std::wstring>& storedNames, bool activate)
{
    return ChangeDictLists(ListCommand::kInstall, true, [&](DictLists& lists) {
        AddInstalledNames(lists.installed, storedNames, lists.deleteNames);
        UpdateActiveNames(lists.active, lists.deleteNames, storedNames, activate);
    });
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
