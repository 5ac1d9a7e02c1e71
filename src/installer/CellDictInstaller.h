#pragma once
// The installation engine: every command of a run is carried out on one of these.

#include "app/SimpleOptParser.h"
#include "dict/CellDictFile.h"
#include "installer/DictList.h"

#include <string>
#include <vector>

class CellDictInstallerUI;

class CellDictInstaller : public CellDictFile {
public:
    // The dispatcher: parses the command line (without the program name), runs
    // its one command and returns the exit code.
    int Run(const std::wstring& commandLine);

    bool Install(const std::wstring& srcPath, const SimpleOptParser::OptionMap& options);
    bool BatchInstall(const std::vector<std::wstring>& names, const SimpleOptParser::OptionMap& options);
    bool DeleteDicts(const std::vector<std::wstring>& names);

    // Loads and validates srcPath; on failure logs it, with the reader's reason
    // on a line of its own tagged "dictcheck", and returns false.
    bool LoadSource(const std::wstring& srcPath);
    // File-level steps shared by the single and the batch install.
    static bool InstallDictFile(const std::wstring& srcPath, const std::wstring& destPath,
                                const std::wstring& tmpPath);
    // True when the file at destPath is to be replaced by the loaded dictionary.
    bool ShouldReplaceStoredFile(const std::wstring& srcPath, const std::wstring& destPath) const;

    CellDictInstallerUI* ui = nullptr;  // not owned; null runs without any window
};

// Creates an empty file with a unique name in dir ("tmp" prefix); "" on failure.
std::wstring MakeTempFilePath(const std::wstring& dir);
// True when some element of `installed` is the same dictionary in the same or a newer version.
bool IsInstalledSameOrNewer(const std::wstring& storedName, const DictList& installed);
void DeleteFileIfPresent(const std::wstring& path);
