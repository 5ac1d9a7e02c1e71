#include "host/XLog.h"

#include "support/E2eSupport.h"

#include <PvXLogApi.h>
#include <gtest/gtest.h>

#include <utility>
#include <string>
#include <vector>

namespace {

std::vector<e2e::XLogLine> OwnLines(const std::wstring& folder)
{
    return e2e::ReadXLogIn(folder, ::GetCurrentProcessId());
}

// The binding is process-wide, so its life is tested as one sequence:
// unbound, bound to a library another component loaded, configured by
// InitLogging, then traced scopes.
TEST(XLog, BindsOnlyALoadedLibraryAndWritesThroughIt)
{
    e2e::TempDir early(L"xlog early");
    e2e::TempDir configured(L"xlog configured");
    const std::wstring library = e2e::BinDir() + L"\\" + kLogLibraryName;

    {
        SCOPED_TRACE("no library: nothing happens and nothing is loaded");
        ASSERT_EQ(nullptr, ::GetModuleHandleW(kLogLibraryName));
        XLog(kLogError, kLogTag, L"lost %s", L"line");
        FunctionTrace trace;
        EXPECT_EQ(nullptr, ::GetModuleHandleW(kLogLibraryName));
    }
    {
        SCOPED_TRACE("loaded later by someone else: the next call binds it");
        HMODULE other = ::LoadLibraryW(library.c_str());
        ASSERT_NE(nullptr, other);
        auto getController = reinterpret_cast<GetLogController2Fn>(
            reinterpret_cast<void*>(::GetProcAddress(other, "GetLogController2")));
        PvLogController* controller = nullptr;
        ASSERT_EQ(0, getController(&controller));
        ASSERT_EQ(0, controller->ops->Init(controller, early.Path().c_str(), 5000, 1));
        XLog(kLogError, kLogTag, L"late %s %d", L"bound", 7);
        ::FreeLibrary(other);  // the binding keeps its own reference
        EXPECT_NE(nullptr, ::GetModuleHandleW(kLogLibraryName));
        const auto lines = OwnLines(early.Path());
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(0x40u, lines[0].level);
        EXPECT_EQ(L"lexinst", lines[0].tag);
        EXPECT_EQ(L"late bound 7", lines[0].message);
    }
    {
        SCOPED_TRACE("InitLogging points the shared channel at the all-users data folder");
        e2e::ScopedRegValue common(HKEY_LOCAL_MACHINE, e2e::kImeRegKey, L"CommonAppData", configured.Path());
        EXPECT_EQ(0, InitLogging());
        XLog(kLogInfo, kLogTag, L"Successfully installed cell dict %s.", L"词库 one");
        const auto lines = OwnLines(configured.Path());
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(0x20u, lines[0].level);
        EXPECT_EQ(L"Successfully installed cell dict 词库 one.", lines[0].message);
        EXPECT_EQ(1u, OwnLines(early.Path()).size()) << "the earlier folder gets no more lines";
    }
    {
        SCOPED_TRACE("traced scopes indent by one, also when left by an exception");
        XLog(kLogTrace, kFuncTag, L"FUNCTION: %s(srcPath.c_str()=[%s])", L"CellDictInstaller::Install", L"a b");
        {
            FunctionTrace outer;
            XLog(kLogTrace, kLogTag, L"in outer");
            try {
                FunctionTrace inner;
                XLog(kLogTrace, kLogTag, L"in inner");
                throw 1;
            } catch (int) {
            }
            XLog(kLogTrace, kLogTag, L"back in outer");
        }
        XLog(kLogTrace, kLogTag, L"outside");
        const auto lines = OwnLines(configured.Path());
        ASSERT_EQ(6u, lines.size());
        const std::pair<int, const wchar_t*> expected[] = {
            {0, L"FUNCTION: CellDictInstaller::Install(srcPath.c_str()=[a b])"},
            {1, L"in outer"}, {2, L"in inner"}, {1, L"back in outer"}, {0, L"outside"}};
        for (std::size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(0x10u, lines[i + 1].level);
            EXPECT_EQ(expected[i].first, lines[i + 1].indent);
            EXPECT_EQ(expected[i].second, lines[i + 1].message);
        }
        EXPECT_EQ(L"func", lines[1].tag);
    }
}

}  // namespace
