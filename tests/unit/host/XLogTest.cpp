#include "host/XLog.h"

#include "HostTestSupport.h"

#include <PvXLogApi.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Line {
    unsigned long pid = 0;
    std::string level;
    std::string tag;
    std::string message;  // with its indent
};

std::string Utf8(const std::wstring& text)
{
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// Lines of this process in <folder>\log\xlog.txt.
std::vector<Line> OwnLines(const std::wstring& folder)
{
    std::ifstream file((folder + L"\\log\\xlog.txt").c_str(), std::ios::binary);
    std::vector<Line> lines;
    std::string text;
    while (std::getline(file, text)) {
        EXPECT_TRUE(!text.empty() && text.back() == '\r') << "every line ends with CRLF";
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::vector<std::string> fields;
        std::istringstream split(text);
        std::string field;
        for (int i = 0; i < 4 && std::getline(split, field, '\t'); ++i)
            fields.push_back(field);
        std::string rest;
        std::getline(split, rest, '\0');
        if (fields.size() != 4) {
            ADD_FAILURE() << "not a log line: " << text;
            continue;
        }
        Line line{std::stoul(fields[1]), fields[2], fields[3], rest};
        if (line.pid == ::GetCurrentProcessId())
            lines.push_back(line);
    }
    return lines;
}

// The binding is process-wide, so its life is tested as one sequence:
// unbound, bound to a library another component loaded, configured by
// InitLogging, then traced scopes.
TEST(XLog, BindsOnlyALoadedLibraryAndWritesThroughIt)
{
    hosttest::ScratchDir early(L"xlog early");
    hosttest::ScratchDir configured(L"xlog configured");
    const std::wstring library = hosttest::FolderOfExe() + L"\\" + kLogLibraryName;

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
        const std::vector<Line> lines = OwnLines(early.Path());
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("0x40", lines[0].level);
        EXPECT_EQ("lexinst", lines[0].tag);
        EXPECT_EQ("late bound 7", lines[0].message);
    }
    {
        SCOPED_TRACE("InitLogging points the shared channel at the all-users data folder");
        hosttest::ScopedValue common(HKEY_LOCAL_MACHINE, L"CommonAppData", configured.Path());
        EXPECT_EQ(0, InitLogging());
        XLog(kLogInfo, kLogTag, L"Successfully installed cell dict %s.", L"词库 one");
        const std::vector<Line> lines = OwnLines(configured.Path());
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("0x20", lines[0].level);
        EXPECT_EQ(Utf8(L"Successfully installed cell dict 词库 one."), lines[0].message);
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
        const std::vector<Line> lines = OwnLines(configured.Path());
        ASSERT_EQ(6u, lines.size());
        const char* expected[] = {"FUNCTION: CellDictInstaller::Install(srcPath.c_str()=[a b])", "  in outer",
                                  "    in inner", "  back in outer", "outside"};
        for (std::size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ("0x10", lines[i + 1].level);
            EXPECT_EQ(expected[i], lines[i + 1].message);
        }
        EXPECT_EQ("func", lines[1].tag);
    }
}

}  // namespace
