#pragma once
// The installation engine: every command of a run is carried out on one of these.

#include "core/CellDictFile.h"
#include "core/DictListRules.h"
#include "installer/CellDictInstallerUI.h"
#include "installer/StoredFiles.h"

#include <optional>
#include <string>
#include <vector>

class CapacityQuota;
struct EngineOptions;

// How one file's install ends, in the single install and the batch alike.
enum class InstallOutcome {
    kPassed,  // the source passed its checks
    kInstalled,
    kCurrent,  // a current copy is kept
    kCancelled,
    kDamaged,
    kIncompatible,
    kOverQuota,
    kFailed,
    kNoMutex,
};

// Stores dictionary files through one staging file, recorded before its first
// use so that a kill leaves it to the next command. Used under the install lock.
class DictFileStore {
public:
    explicit DictFileStore(const std::wstring& dictDir) : staging_(dictDir) {}
    [[nodiscard]] bool Store(const std::wstring& srcPath, const std::wstring& destPath);
    // Before the list update: no temporary file is left to record after it.
    void Finish() { staging_.Remove(); }

private:
    StagingFile staging_;
    bool recorded_ = false;
};

class CellDictInstaller : public CellDictFile {
public:
    // The dispatcher: parses the command line (without the program name), runs
    // its one command and returns the exit code.
    [[nodiscard]] int Run(const std::wstring& commandLine);

    [[nodiscard]] bool Install(const std::wstring& srcPath, const EngineOptions& options);
    [[nodiscard]] bool BatchInstall(const std::vector<std::wstring>& names, const EngineOptions& options);
    [[nodiscard]] bool DeleteDicts(const std::vector<std::wstring>& names);

    // The per-file steps of both installs, in their order. CheckSource loads the
    // file and gives kPassed, or why it is refused: unreadable or invalid (logged
    // with the reader's reason), of a newer format level, or over the quota.
    [[nodiscard]] InstallOutcome CheckSource(const std::wstring& srcPath, CapacityQuota& quota);
    // The name the loaded dictionary is stored under: `dest`, or the derived name.
    [[nodiscard]] std::wstring StoredNameFor(const std::wstring& srcPath,
                                             const std::optional<std::wstring>& dest) const;
    // Whether the copy under storedName is already current: `installed` lists the
    // same or a newer version (account folder), or, without a list, the stored
    // file is not to be replaced.
    [[nodiscard]] bool HasCurrentCopy(const std::wstring& srcPath, const std::wstring& destPath,
                                      const std::wstring& storedName, const DictIdentityIndex* installed) const;
    // True when the file at destPath is to be replaced by the loaded dictionary.
    [[nodiscard]] bool ShouldReplaceStoredFile(const std::wstring& srcPath, const std::wstring& destPath) const;

    CellDictInstallerUI* ui = &SilentUI::Instance();  // not owned

private:
    int Dispatch(const std::wstring& commandLine, bool& removing);
    InstallOutcome InstallOne(const std::wstring& srcPath, const EngineOptions& options, CellDictInfo& info);
};

// The snapshot of the installed names that the current-copy test reads, in the
// account folder; none in the data folder.
std::optional<DictIdentityIndex> InstalledSnapshot(bool useAccountDir);
