#pragma once
// A private account for engine tests: a throw-away folder that holds the account's
// data folder, the input method's data folder and the per-user data folder, the
// settings pointed at them, and a scripted UI.

#include "support/DictBytes.h"
#include "support/E2eSupport.h"

#include "app/SimpleOptParser.h"
#include "ui/CellDictInstallerUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A UI whose answers are set before the call and whose calls are recorded in order.
class ScriptedUI : public CellDictInstallerUI {
public:
    bool ConfirmInstall(const CellDictInfo& info) override;
    bool ConfirmOverwrite() override;
    void ShowInstallSuccess(const CellDictInfo& info) override;
    void ShowInstallFailed() override { calls.push_back("ShowInstallFailed"); }
    void ShowNoFileSpecified() override { calls.push_back("ShowNoFileSpecified"); }
    void ShowFileNotFound() override { calls.push_back("ShowFileNotFound"); }
    void ShowDictDamaged() override { calls.push_back("ShowDictDamaged"); }
    void ShowVersionIncompatible() override { calls.push_back("ShowVersionIncompatible"); }
    void ShowQuotaExceeded() override { calls.push_back("ShowQuotaExceeded"); }

    bool installAnswer = true;
    bool overwriteAnswer = false;
    std::vector<std::string> calls;
    std::vector<CellDictInfo> shown;  // the info of ConfirmInstall and ShowInstallSuccess
    std::vector<std::wstring> tempFilesWhileAsked;  // tmp*.tmp in the folder at ConfirmInstall
    std::wstring watchedFolder;
};

// Bytes of a valid dictionary with the given identity and a few words.
ByteVector MakeDict(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build, uint16_t formatLevel = 0);

SimpleOptParser::OptionMap ParseOptions(const std::wstring& commandLine);

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring Root() const { return root_->Path(); }
    std::wstring AccountDictDir() const { return root_->Path() + L"\\account\\dict\\"; }
    std::wstring DataDir() const { return root_->Path() + L"\\data\\"; }
    std::wstring UserDataDir() const { return root_->Path() + L"\\user"; }
    // Writes a source file into the test's source folder and returns its path.
    std::wstring WriteSource(const std::wstring& name, const ByteVector& bytes) const;
    std::wstring SourceDir() const { return root_->Path() + L"\\src"; }
    std::vector<std::wstring> TempFilesIn(const std::wstring& folder) const;

    std::wstring Setting(const std::wstring& key) const;

private:
    std::unique_ptr<e2e::TempDir> root_;
    std::unique_ptr<e2e::ScopedRegValue> appData_;
};

// Opens a file with no sharing at all, for as long as the object lives.
class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::wstring& path);
    ~HeldOpenFile();
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;
    bool IsOpen() const;

private:
    void* handle_;
};

void SetReadOnly(const std::wstring& path, bool readOnly);
bool IsReadOnly(const std::wstring& path);
