#pragma once
// The installation engine: every command of a run is carried out on one of these.

#include "core/CellDictFile.h"
#include "core/SimpleOptParser.h"

#include <string>
#include <vector>

class CellDictInstallerUI;
class DictIdentityIndex;
class TempFileGuard;

// True for the account's dictionary folder, the default; false with "-datadir" alone.
bool UsesAccountDir(const SimpleOptParser::OptionMap& options);

// The dictionary folder of the mode, created with its parents when missing.
[[nodiscard]] bool OpenDictDir(bool useAccountDir, std::wstring& dictDir);

// Where a dictionary is stored, and whether the copy there is already current.
struct StoreTarget {
    std::wstring destPath;
    bool currentCopy = false;
};

class CellDictInstaller : public CellDictFile {
public:
    // The dispatcher: parses the command line (without the program name), runs
    // its one command and returns the exit code.
    [[nodiscard]] int Run(const std::wstring& commandLine);

    [[nodiscard]] bool Install(const std::wstring& srcPath, const SimpleOptParser::OptionMap& options);
    [[nodiscard]] bool BatchInstall(const std::vector<std::wstring>& names, const SimpleOptParser::OptionMap& options);
    [[nodiscard]] bool DeleteDicts(const std::vector<std::wstring>& names);

    // Loads and validates srcPath; on failure logs it, with the reader's reason
    // on a line of its own tagged "dictcheck", and returns false.
    [[nodiscard]] bool LoadSource(const std::wstring& srcPath);
    // File-level steps shared by the single and the batch install.
    [[nodiscard]] static bool InstallDictFile(const std::wstring& srcPath, const std::wstring& destPath,
                                              const std::wstring& tmpPath);
    // InstallDictFile under the install lock, the temporary file recorded first so
    // that a kill leaves it to the next command; dismisses it once renamed.
    [[nodiscard]] static bool StoreDictFile(const std::wstring& srcPath, const std::wstring& destPath,
                                            TempFileGuard& tmp);
    // True when the file at destPath is to be replaced by the loaded dictionary.
    [[nodiscard]] bool ShouldReplaceStoredFile(const std::wstring& srcPath, const std::wstring& destPath) const;
    // The per-file decision of the single and the batch install: the copy under
    // storedName is current when `installed` lists the same or a newer version
    // (account folder), or, without a list, when the stored file is not to be replaced.
    [[nodiscard]] StoreTarget PlanStore(const std::wstring& srcPath, const std::wstring& dictDir,
                                        const std::wstring& storedName, const DictIdentityIndex* installed) const;

    CellDictInstallerUI* ui = nullptr;  // not owned; null runs without any window
};

// Creates an empty file with a unique name in dir ("tmp" prefix); "" on failure.
[[nodiscard]] std::wstring MakeTempFilePath(const std::wstring& dir);
void DeleteFileIfPresent(const std::wstring& path);
