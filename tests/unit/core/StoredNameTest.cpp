#include "dict/StoredName.h"

#include "support/DictBytes.h"

#include <gtest/gtest.h>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(StoredNameTest, DerivedName)
{
    const struct {
        uint32_t id, major, minor, build;
        std::wstring expected;
    } cases[] = {
        {12345, 1, 2, 3, L"12345_1_2_3.pvdict"},
        {1, 0, 0, 0, L"1_0_0_0.pvdict"},
        {4294967295u, 4294967295u, 10, 2147483648u, L"4294967295_4294967295_10_2147483648.pvdict"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id);
        DictBytes d;
        d.Identity(c.id, c.major, c.minor, c.build);
        EXPECT_EQ(MakeStoredName(L"C:\\any\\source.txt", d.header), c.expected);
    }
}

TEST(StoredNameTest, SourceFormKeepsTheFileNameAndExtension)
{
    const std::wstring long255(255, L'n');
    const struct {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {L"C:\\dicts\\城市.pvdict", L"城市.pvdict"},
        {L"C:\\dicts\\my.dict.txt", L"my.dict.txt"},
        {L"d:/mixed\\seps/name.scel", L"name.scel"},
        {L"relative.pvdict", L"relative.pvdict"},
        {L"C:noext", L"noext"},
        {L"\\\\server\\share\\.hidden", L".hidden"},
        {L"C:\\folder\\", L""},
        {L"C:\\d\\" + long255.substr(0, 255), long255},
        {L"C:\\d\\" + long255 + L"x", L""},  // the name does not fit its buffer
        {L"C:\\" + long255.substr(0, 253) + L"\\a.b", L"a.b"},
        {L"C:\\" + long255.substr(0, 254) + L"\\a.b", L""},  // nor does the folder
        {L"C:\\d\\a." + long255, L""},        // nor the extension
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        EXPECT_EQ(MakeStoredName(c.path, DictBytes().header), c.expected);
    }
}

TEST(StoredNameTest, SameDictionary)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    } cases[] = {
        {L"12345_1_2_3.pvdict", L"12345_1_10_0.pvdict", true},
        {L"12345_1_2_3.pvdict", L"12345.pvdict", true},
        {L"12345_1_2_3.pvdict", L"1234_1_2_3.pvdict", false},
        {L"Cities.pvdict", L"cities.pvdict", false},
        {L"name", L"name", true},
        {L"name", L"name2", false},
        {L"", L"_x", true},
        {L".a", L"_b", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.a << "' and '" << c.b << "'");
        EXPECT_EQ(IsSameDictionary(c.a, c.b), c.same);
        EXPECT_EQ(IsSameDictionary(c.b, c.a), c.same);
    }
}

TEST(StoredNameTest, VersionOrder)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"7_1_10_0.pvdict", L"7_1_9_5.pvdict", 1},
        {L"7_1_2_3.pvdict", L"7_1_2_3.pvdict", 0},
        {L"7_2_0_0.pvdict", L"7_10_0_0.pvdict", -1},
        // A source-form name has fewer tokens once the extension is dropped.
        {L"7.pvdict", L"7_1_2_3.pvdict", -1},
        {L"7_0_0_0.pvdict", L"7.pvdict", 1},
        {L"7_1_2_3.pvdict", L"7_1_2_3.PVDICT", -1},  // "PVDICT" is a token of value 0
        {L"7_1_2", L"7_1_2.pvdict", 0},
        {L"7__3", L"7_0_3", 0},                  // an empty token reads as 0
        {L"7_ 12_0", L"7_12_0", 0},              // leading blanks
        {L"7_+5", L"7_5", 0},
        {L"7_-5", L"7_5", -1},
        {L"7_12abc", L"7_12", 0},
        {L"7_abc12", L"7_0", 0},
        {L"", L"", 0},
        {L"", L"pvdict", 0},
        {L"x", L"", 1},
        {L"7_1_", L"7_1", 1},
        // Beyond 32 bits numbers clamp, and differences keep their sign.
        {L"7_2147483648", L"7_2147483647", 0},
        {L"7_99999999999", L"7_2147483647", 0},
        {L"7_-2147483648", L"7_2147483647", -1},
        {L"7_2147483647", L"7_-99999999999", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.a << "' against '" << c.b << "'");
        EXPECT_EQ(Sign(CompareStoredVersions(c.a, c.b)), c.sign);
        EXPECT_EQ(Sign(CompareStoredVersions(c.b, c.a)), -c.sign);
    }
}

TEST(StoredNameTest, VersionDifferenceIsTheNumericDifference)
{
    EXPECT_EQ(CompareStoredVersions(L"7_1_10_0.pvdict", L"7_1_9_5.pvdict"), 1);
    EXPECT_EQ(CompareStoredVersions(L"7_1_3_0.pvdict", L"7_1_10_0.pvdict"), -7);
    EXPECT_EQ(CompareStoredVersions(L"7.pvdict", L"7_1_2_3.pvdict"), -3);
}

}  // namespace
