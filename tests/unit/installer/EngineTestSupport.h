#pragma once
// Engine tests run in the throw-away account of the whole-program scenarios, with
// the settings store loaded into this process and a scripted UI.

#include "EngineE2eFixture.h"

#include "app/SimpleOptParser.h"
#include "host/ConfigStore.h"
#include "ui/CellDictInstallerUI.h"

#include <string>
#include <vector>

// A UI whose answers are set before the call and whose calls are recorded in order.
class ScriptedUI : public CellDictInstallerUI {
public:
    bool ConfirmInstall(const CellDictInfo& info) override
    {
        calls.push_back("ConfirmInstall");
        shown.push_back(info);
        if (!watchedFolder.empty())
            tempFilesWhileAsked = e2e::ListFolder(watchedFolder, L"tmp*.tmp");
        return installAnswer;
    }
    bool ConfirmOverwrite() override
    {
        calls.push_back("ConfirmOverwrite");
        return overwriteAnswer;
    }
    void ShowInstallSuccess(const CellDictInfo& info) override
    {
        calls.push_back("ShowInstallSuccess");
        shown.push_back(info);
    }
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
    std::vector<std::wstring> tempFilesWhileAsked;  // tmp*.tmp in watchedFolder at ConfirmInstall
    std::wstring watchedFolder;
};

inline SimpleOptParser::OptionMap ParseOptions(const std::wstring& commandLine)
{
    SimpleOptParser parser(kLexinstOptionSpec);
    EXPECT_TRUE(parser.Parse(commandLine)) << "bad test command line";
    return parser.options;
}

class EngineTest : public e2e::EngineE2eTest {
protected:
    void SetUp() override
    {
        // Once per program: the settings store stays loaded until the process ends.
        static const bool broughtUp = (BringUpConfigComponent(), true);
        (void)broughtUp;
        ASSERT_NE(GetConfigureInst(), nullptr) << "Setvault.dll must sit beside the test program";
        EngineE2eTest::SetUp();
    }
};
