// pvdict make and show, run in-process: what make writes, show reads back;
// what make refuses leaves the output file as it was.

#include "Pvdict.h"
#include "TextCodec.h"

#include "support/ScratchFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

// The exit code and standard output.
std::pair<int, std::string> RunPvdict(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = pvdict::RunPvdict(args, in, out, err);
    return {code, out.str()};
}

TEST(Pvdict, MakeThenShow)
{
    std::string astral;
    for (int i = 0; i < 16; ++i)
        astral += "\xF0\xA0\x80\x80";  // two UTF-16 units each
    const std::vector<std::string> all = {"--name",     "常用词",    "--description",  "日常用语",
                                          "--category", "生活,日常", "--id",           "4242",
                                          "--version",  "2.10.5",    "--format-level", "1"};
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> options;
        std::string words;
        nlohmann::json expect;  // fields of show --json; null: refused
        // clang-format off
    } rows[] = {
        {"every option, BOM, CRLF, blanks, a repeat", "词典.pvdict", all,
         "\xEF\xBB\xBF你好\r\n 谢谢\t\r\n\r\n你好\n再见",
         {{"name", "常用词"}, {"description", "日常用语"}, {"category", "生活"}, {"entryCount", 4},
          {"samples", {"你好", "谢谢", "再见"}}, {"storedName", "4242_2_10_5.pvdict"}, {"formatLevel", 1},
          {"decimalVersion", 21005}, {"fileSize", 848 + 4 * 12}}},
        {"defaults", "动物.pvdict", {}, "",
         {{"name", "动物"}, {"storedName", "动物.pvdict"}, {"version", {1, 0, 0}}, {"entryCount", 0}}},
        {"the largest texts and word", "max.pvdict",
         {"--name", astral, "--id", "4294967295", "--version", "214748.36.47"}, std::string(255, 'w'),
         {{"name", astral}, {"storedName", "4294967295_214748_36_47.pvdict"}, {"samples", {std::string(255, 'w')}}}},
        {"name of 33 units", "d.pvdict", {"--name", astral + "n"}, "a", nullptr},
        {"word of 256 units", "d.pvdict", {}, std::string(256, 'w'), nullptr},
        {"version part of 100", "d.pvdict", {"--version", "1.100.0"}, "a", nullptr},
        {"word list not UTF-8", "d.pvdict", {}, "ok\n\xFF\n", nullptr},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ScratchDir dir;
        const std::filesystem::path path = dir.Path() / pvdict::Utf8ToPath(row.file);
        const std::string out = pvdict::PathToUtf8(path);
        std::ofstream(path, std::ios::binary) << "\x01\x02\x03";
        std::vector<std::string> args{"make", out};
        args.insert(args.end(), row.options.begin(), row.options.end());
        ASSERT_EQ(RunPvdict(args, row.words).first, row.expect.is_null() ? 2 : 0);
        ASSERT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "a temporary file remains";
        if (row.expect.is_null()) {
            EXPECT_EQ(ReadBytes(path), (ByteVector{1, 2, 3}));
            continue;
        }
        const auto [code, shown] = RunPvdict({"show", "--json", out});
        EXPECT_EQ(code, 0);
        const auto json = nlohmann::json::parse(shown);
        EXPECT_EQ(json["valid"], true);
        for (const auto& [key, value] : row.expect.items())
            EXPECT_EQ(json[key], value) << key;

        // Without a whole first record head the file does not validate.
        std::filesystem::resize_file(path, std::min<std::uintmax_t>(std::filesystem::file_size(path), 848 + 5));
        EXPECT_EQ(RunPvdict({"show", out}).first, std::filesystem::file_size(path) == 848 ? 0 : 1);
    }
}

// The version is the project's, from CMake, and asking for it is a success.
TEST(Pvdict, Version)
{
    EXPECT_EQ(RunPvdict({"--version"}), (std::pair<int, std::string>{0, "pvdict " LEXINST_PROJECT_VERSION "\n"}));
}

}  // namespace
