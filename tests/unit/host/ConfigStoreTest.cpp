#include "host/CIMEBuffer.h"
#include "host/ConfigStore.h"
#include "host/HostComponents.h"

#include "support/E2eSupport.h"

#include <HostComponentExports.h>
#include <IConfigureInst.h>
#include <IWinMsgCenterUser.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr const wchar_t* kConfigKey = L"Software\\Pelvo\\PelvoPinyin\\Config";

TEST(CIMEBuffer, HoldsACopyOfTheLastText)
{
    CIMEBuffer buffer;
    EXPECT_EQ(kImeInvalidArg, buffer.GetData(nullptr));

    const unsigned char* data = reinterpret_cast<const unsigned char*>(1);
    EXPECT_EQ(kImeOk, buffer.GetData(&data));
    EXPECT_EQ(nullptr, data);

    std::wstring source = L"a;b;";
    buffer.SetStringW(source.c_str());
    source[0] = L'z';  // a copy, not the caller's text
    EXPECT_EQ(L"a;b;", buffer.AsWideText());
    ASSERT_EQ(kImeOk, buffer.GetData(&data));
    EXPECT_EQ(0, std::memcmp(data, L"a;b;", 5 * sizeof(wchar_t)));

    buffer.SetStringW(L"");
    EXPECT_EQ(L"", buffer.AsWideText());
    buffer.GetData(&data);
    EXPECT_EQ(nullptr, data);

    buffer.SetStringA("ab");
    buffer.GetData(&data);
    ASSERT_NE(nullptr, data);
    EXPECT_STREQ("ab", reinterpret_cast<const char*>(data));
}

TEST(HostComponents, AreFoundBesideTheProgramFirst)
{
    EXPECT_EQ(e2e::BinDir() + L"\\Setvault.dll", FindHostComponent(kConfigLibraryName));
    EXPECT_EQ(e2e::BinDir() + L"\\Notehub.dll", FindHostComponent(kMsgCenterLibraryName));
    EXPECT_EQ(L"", FindHostComponent(L"NowhereAtAll.dll"));
}

// The settings store as the installer sees it: through the loaders and the
// stand-in beside this program. Loading happens once per process.
TEST(ConfigStore, BringsUpTheStoreAndLinksTheMessageCenter)
{
    EXPECT_EQ(nullptr, GetConfigureInst()) << "nothing is loaded before the bring-up";
    std::wstring out = L"stale";
    EXPECT_FALSE(ReadConfigString(nullptr, L"/Dict/InstalledDict", out));
    EXPECT_EQ(L"", out);
    WriteConfigString(nullptr, L"/Dict/InstalledDict", L"ignored");

    BringUpConfigComponent();
    IConfigureInst* cfg = GetConfigureInst();
    ASSERT_NE(nullptr, cfg);

    auto* user = dynamic_cast<IWinMsgCenterUser*>(cfg);
    ASSERT_NE(nullptr, user) << "the run-time type test must see the message-centre side across modules";
    HMODULE notehub = ::GetModuleHandleW(kMsgCenterLibraryName);
    ASSERT_NE(nullptr, notehub);
    auto getCenter = reinterpret_cast<GetWinMsgCenterFn>(
        reinterpret_cast<void*>(::GetProcAddress(notehub, "GetWinMsgCenter")));
    ASSERT_NE(nullptr, getCenter);
    EXPECT_EQ(getCenter(), user->GetMsgCenter());

    BringUpConfigComponent();  // a second bring-up loads nothing new
    EXPECT_EQ(cfg, GetConfigureInst());

    ReleaseConfigComponent();
    EXPECT_EQ(nullptr, user->GetMsgCenter());
}

TEST(ConfigStore, StoresKeysAsSubkeysAndValues)
{
    BringUpConfigComponent();
    IConfigureInst* cfg = GetConfigureInst();
    ASSERT_NE(nullptr, cfg);

    struct Case {
        const char* name;
        std::wstring key;
        std::wstring text;
        std::wstring subkey;
        std::wstring value;
    };
    const Case cases[] = {
        {"three parts", L"/HostTest/Dict/InstalledDict", L"1_1_0_0.pvdict;", L"HostTest\\Dict", L"InstalledDict"},
        {"two parts", L"/HostTest/Top", L"x", L"HostTest", L"Top"},
        {"empty text", L"/HostTest/Dict/Empty", L"", L"HostTest\\Dict", L"Empty"},
        {"wide text", L"/HostTest/Common/dataDir", L"C:\\数据\\dir with space\\", L"HostTest\\Common", L"dataDir"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteConfigString(cfg, c.key, c.text);
        const std::wstring key = std::wstring(kConfigKey) + L"\\" + c.subkey;
        EXPECT_EQ(c.text, e2e::GetRegString(HKEY_CURRENT_USER, key, c.value));
        EXPECT_EQ(std::optional<DWORD>(REG_SZ), e2e::GetRegType(HKEY_CURRENT_USER, key, c.value));
        std::wstring out;
        EXPECT_TRUE(ReadConfigString(cfg, c.key, out));
        EXPECT_EQ(c.text, out);
    }

    for (const wchar_t* missing : {L"/HostTest/Dict/Never", L"/HostTest/NoSuch/Key", L"no-slash", L"/HostTest/", L""}) {
        SCOPED_TRACE(testing::Message() << "missing or malformed key #" << std::wstring(missing).size());
        std::wstring out = L"stale";
        EXPECT_FALSE(ReadConfigString(cfg, missing, out));
        EXPECT_EQ(L"", out);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kConfigKey) + L"\\HostTest").c_str());
}

}  // namespace
