// The pvdict commands, run in-process, and a few runs of the program itself.

#include "Pvdict.h"
#include "TextCodec.h"

#include "support/ScratchFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#endif
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using pvdict::RunPvdict;

namespace {

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

RunResult RunIn(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunPvdict(args, in, out, err);
    return {code, out.str(), err.str()};
}

std::string U8(const fs::path& path) { return pvdict::PathToUtf8(path); }

constexpr const char* kWords = "\xEF\xBB\xBF你好\r\n谢谢\r\n\r\n再见\r\n";

// Makes a dictionary of three one-unit words; returns its path.
fs::path MakeSmall(const ScratchDir& dir)
{
    const fs::path out = dir.Path() / "small.pvdict";
    const RunResult run = RunIn({"make", U8(out)}, "甲\n乙\n丙\n");
    EXPECT_EQ(run.code, 0) << run.err;
    return out;
}

}  // namespace

TEST(PvdictVersion, AcceptsOnlyPackableDecimalVersions)
{
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"1.2.3", true},         {"0.0.0", true},         {"1.99.99", true},   {"214748.36.47", true},
        {"214748.36.48", false}, {"1.100.0", false},      {"1.0.100", false},  {"1.2", false},
        {"1.2.3.4", false},      {"1..3", false},         {"-1.2.3", false},   {"+1.2.3", false},
        {" 1.2.3", false},       {"1.2.3 ", false},       {"a.b.c", false},    {"", false},
        {"4294967296.0.0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint32_t, 3> version{};
        EXPECT_EQ(pvdict::ParseVersion(c.text, version), c.ok);
    }
    std::array<uint32_t, 3> version{};
    ASSERT_TRUE(pvdict::ParseVersion("7.08.9", version));
    EXPECT_EQ(version, (std::array<uint32_t, 3>{7, 8, 9}));
}

TEST(PvdictMake, MadeFileShowsAsJson)
{
    ScratchDir dir;
    const fs::path out = dir.Path() / pvdict::Utf8ToPath("词典.pvdict");
    const RunResult made = RunIn({"make", U8(out), "--name", "常用词", "--description", "日常用语", "--category",
                            "生活,日常", "--id", "4242", "--version", "2.10.5", "--format-level", "1"},
                           kWords);
    ASSERT_EQ(made.code, 0) << made.err;

    const RunResult shown = RunIn({"show", "--json", U8(out)});
    EXPECT_EQ(shown.code, 0) << shown.err;
    const auto json = nlohmann::json::parse(shown.out);
    EXPECT_EQ(json["valid"], true);
    EXPECT_EQ(json["reason"], "");
    EXPECT_EQ(json["name"], "常用词");
    EXPECT_EQ(json["description"], "日常用语");
    EXPECT_EQ(json["category"], "生活");
    EXPECT_EQ(json["entryCount"], 3);
    EXPECT_EQ(json["samples"], (std::vector<std::string>{"你好", "谢谢", "再见"}));
    EXPECT_EQ(json["storedName"], "4242_2_10_5.pvdict");
    EXPECT_EQ(json["formatLevel"], 1);
    EXPECT_EQ(json["dictId"], 4242);
    EXPECT_EQ(json["version"], (std::vector<uint32_t>{2, 10, 5}));
    EXPECT_EQ(json["decimalVersion"], 21005);
    EXPECT_EQ(json["fileSize"], fs::file_size(out));
}

TEST(PvdictMake, NameDefaultsToTheOutputFileName)
{
    ScratchDir dir;
    const fs::path words = dir.Path() / "list.txt";
    WriteBytes(words, ByteVector{'x', '\n'});
    const fs::path out = dir.Path() / pvdict::Utf8ToPath("动物.pvdict");
    ASSERT_EQ(RunIn({"make", U8(out), "--words", U8(words)}).code, 0);
    const auto json = nlohmann::json::parse(RunIn({"show", "--json", U8(out)}).out);
    EXPECT_EQ(json["name"], "动物");
    EXPECT_EQ(json["storedName"], "动物.pvdict");
}

TEST(PvdictMake, RefusesBadInputWithoutTouchingTheOutput)
{
    struct Case {
        const char* label;
        std::vector<std::string> options;
        std::string input;
    };
    const Case cases[] = {
        {"bad version", {"--version", "1.2"}, "a\n"},
        {"id beyond 32 bits", {"--id", "4294967296"}, "a\n"},
        {"negative id", {"--id", "-1"}, "a\n"},
        {"format level beyond 16 bits", {"--format-level", "65536"}, "a\n"},
        {"list not UTF-8", {}, "ok\n\xFF\n"},
        {"missing word list", {"--words", "@missing"}, ""},
        {"word list is a folder", {"--words", "@folder"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        for (bool existed : {false, true}) {
            SCOPED_TRACE(existed ? "over an existing file" : "no file before");
            ScratchDir dir;
            const fs::path out = dir.Path() / "d.pvdict";
            if (existed)
                WriteBytes(out, ByteVector{1, 2, 3});
            std::vector<std::string> args = {"make", U8(out)};
            for (const auto& option : c.options) {
                args.push_back(option == "@missing" ? U8(dir.Path() / "no-such-list.txt")
                               : option == "@folder" ? U8(dir.Path())
                                                     : option);
            }
            const RunResult run = RunIn(args, c.input);
            EXPECT_EQ(run.code, 2);
            EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), existed ? 1 : 0);
            if (existed) {
                EXPECT_EQ(ReadBytes(out), (ByteVector{1, 2, 3}));
            }
        }
    }
}

TEST(PvdictShow, SaysWhyAndWhereAFileIsInvalid)
{
    // Three one-unit words: records of 8 bytes at 848, 856 and 864; the file ends at 872.
    struct Case {
        const char* label;
        void (*spoil)(ByteVector&);
        std::vector<std::string> reasonParts;
    };
    const Case cases[] = {
        {"847 bytes", [](ByteVector& b) { b.resize(847); }, {"847 bytes", "848"}},
        {"wrong magic", [](ByteVector& b) { b[0] = 'L'; }, {"magic", "4c"}},
        {"second record head cut", [](ByteVector& b) { b.resize(859); }, {"record 1", "856"}},
        {"section 2 misplaced",
         [](ByteVector& b) {
             PutU32(b, 116, 1);  // section2Count
             PutU32(b, 80, 900);  // section2Offset
         },
         {"section 2", "900", "872"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir dir;
        const fs::path file = MakeSmall(dir);
        ByteVector bytes = ReadBytes(file);
        c.spoil(bytes);
        WriteBytes(file, bytes);

        const RunResult json = RunIn({"show", "--json", U8(file)});
        EXPECT_EQ(json.code, 1);
        const auto parsed = nlohmann::json::parse(json.out);
        EXPECT_EQ(parsed["valid"], false);
        const std::string reason = parsed["reason"];
        for (const auto& part : c.reasonParts)
            EXPECT_NE(reason.find(part), std::string::npos) << reason << " lacks " << part;

        const RunResult text = RunIn({"show", U8(file)});
        EXPECT_EQ(text.code, 1);
        EXPECT_NE(text.out.find("invalid: " + reason), std::string::npos) << text.out;
    }
}

TEST(PvdictCommandLine, UsageErrorsExitWithTwo)
{
    ScratchDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"explode"},
        {"show"},
        {"show", "--bogus", "x"},
        {"make"},
        {"show", U8(dir.Path() / "missing.pvdict")},
        {"show", U8(dir.Path())},
    };
    for (const auto& args : cases) {
        std::string label;
        for (const auto& a : args)
            label += a + " ";
        SCOPED_TRACE(label);
        const RunResult run = RunIn(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(RunIn({"--help"}).code, 0);
}

// The program itself, started as a process with UTF-8 arguments; returns its
// exit code, or -1 when it cannot be started. Its output is discarded.
int RunProgram(const std::vector<std::string>& args)
{
#ifdef _WIN32
    std::wstring commandLine = L"\"" + pvdict::Utf8ToWide(PVDICT_EXE).value() + L"\"";
    for (const auto& arg : args)
        commandLine += L" \"" + pvdict::Utf8ToWide(arg).value() + L"\"";
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    DWORD code = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        // A child that never ends must not stall the whole test run.
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(nul);
    return static_cast<int>(code);
#else
    std::string command = std::string("'") + PVDICT_EXE + "'";
    for (const auto& arg : args)
        command += " '" + arg + "'";
    const int status = std::system((command + " </dev/null >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

TEST(PvdictProgram, RunsAsAProcessWithChineseFileNames)
{
    ScratchDir dir;
    const fs::path words = dir.Path() / pvdict::Utf8ToPath("词表.txt");
    WriteBytes(words, ByteVector{'a', '\n', 'b', '\n'});
    const fs::path out = dir.Path() / pvdict::Utf8ToPath("样例.pvdict");
    EXPECT_EQ(RunProgram({"make", U8(out), "--words", U8(words), "--name", "样例"}), 0);
    EXPECT_EQ(RunProgram({"show", U8(out)}), 0);
    ByteVector bytes = ReadBytes(out);
    bytes.resize(bytes.size() - 7);  // the second record's head is gone
    WriteBytes(out, bytes);
    EXPECT_EQ(RunProgram({"show", U8(out)}), 1);
    EXPECT_EQ(RunProgram({"show"}), 2);
}
