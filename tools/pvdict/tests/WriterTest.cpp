// Files made by the writer must read back through the installer's own reader.

#include "CellDictWriter.h"
#include "TextCodec.h"

#include "dict/CellDictFile.h"
#include "support/ScratchFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace fs = std::filesystem;
using pvdict::CellDictContent;
using pvdict::WriteCellDictFile;

namespace {

std::vector<fs::path> FilesIn(const fs::path& dir)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files.push_back(entry.path().filename());
    return files;
}

// The first `max` distinct words, in order: what a reader must offer as samples.
std::vector<std::wstring> FirstDistinct(const std::vector<std::wstring>& words, std::size_t max)
{
    std::vector<std::wstring> distinct;
    for (const auto& word : words) {
        if (distinct.size() == max)
            break;
        if (std::find(distinct.begin(), distinct.end(), word) == distinct.end())
            distinct.push_back(word);
    }
    return distinct;
}

// Wide names through UTF-8: the C locale of a test run cannot convert them.
fs::path PathIn(const ScratchDir& dir, const std::wstring& name)
{
    return dir.Path() / pvdict::Utf8ToPath(WideToUtf8(name));
}

std::wstring WidePath(const fs::path& path)
{
    return pvdict::Utf8ToWide(pvdict::PathToUtf8(path)).value();
}

uint64_t ExpectedSize(const CellDictContent& content)
{
    uint64_t size = 848;
    for (const auto& word : content.words)
        size += 4 * pvdict::WideToUtf16(word).size() + 4;
    return size;
}

struct RoundTripCase {
    const char* label;
    CellDictContent content;
    std::wstring fileName;
    std::wstring category;  // as the reader names it
};

std::vector<RoundTripCase> RoundTripCases()
{
    std::vector<RoundTripCase> cases;
    CellDictContent common;
    common.name = L"常用词";
    common.category = L"生活,日常";
    common.description = L"日常生活中的常用词语。";
    common.dictId = 12345;
    common.version = {1, 2, 3};
    common.formatLevel = 1;
    common.words = {L"你好", L"谢谢", L"你好", L"再见", L"朋友", L"学习", L"工作", L"中国",
                    L"谢谢", L"时间", L"今天", L"明天", L"电脑"};
    cases.push_back({"chinese texts, duplicates, more than 10 words", common, L"common.pvdict", L"生活"});

    CellDictContent empty;
    cases.push_back({"no words and no texts", empty, L"空词典.pvdict", L"其他"});

    CellDictContent full;
    full.name = std::wstring(32, L'名');
    full.category = std::wstring(32, L'类');
    full.description = std::wstring(256, L'述');
    full.words = {std::wstring(255, L'长'), L"x"};
    full.dictId = 4294967295u;
    full.version = {214748, 36, 47};
    cases.push_back({"every slot full, longest word", full, L"full.txt", std::wstring(32, L'类')});

    CellDictContent astral;
    // Characters beyond the BMP take two UTF-16 units each: 16 of them fill the name.
    for (int i = 0; i < 16; ++i)
        astral.name += pvdict::Utf8ToWide("\xF0\xA0\x80\x80").value();
    astral.category = L",leading comma";
    astral.words = {pvdict::Utf8ToWide("\xF0\x9F\x98\x80 smile").value(), L"plain"};
    cases.push_back({"surrogate pairs", astral, L"astral.pvdict", L"其他"});
    return cases;
}

}  // namespace

TEST(CellDictWriter, ReadsBackThroughTheReader)
{
    for (const auto& c : RoundTripCases()) {
        SCOPED_TRACE(c.label);
        ScratchDir dir;
        const fs::path out = PathIn(dir, c.fileName);
        std::string error;
        ASSERT_TRUE(WriteCellDictFile(out, c.content, error)) << error;
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<fs::path>{out.filename()}) << "no temporary file may remain";

        CellDictFile file;
        const CellDictVerdict verdict = file.LoadAndCheck(WidePath(out));
        ASSERT_TRUE(verdict.Ok()) << "problem " << static_cast<int>(verdict.problem) << " at " << verdict.offset;
        const CellDictHeader& h = file.header;
        EXPECT_EQ(h.GetName(), c.content.name);
        EXPECT_EQ(h.GetDescription(), c.content.description);
        EXPECT_EQ(h.GetCategory(), c.category);
        EXPECT_EQ(h.GetEntryCount(), c.content.words.size());
        EXPECT_EQ(h.formatLevel, c.content.formatLevel);
        EXPECT_EQ(file.fileSize, ExpectedSize(c.content));
        EXPECT_EQ(h.dictId, c.content.dictId);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(h.version[i], c.content.version[i]) << "version part " << i;

        std::vector<std::wstring> samples;
        file.ReadSampleWords(samples, 10);
        EXPECT_EQ(samples, FirstDistinct(c.content.words, 10));
    }
}

TEST(CellDictWriter, LaysOutRecordsAndEmptySections)
{
    ScratchDir dir;
    CellDictContent content;
    content.words = {L"词语", L"好"};
    std::string error;
    ASSERT_TRUE(WriteCellDictFile(dir.Path() / L"d.pvdict", content, error)) << error;
    const ByteVector bytes = ReadBytes(dir.Path() / L"d.pvdict");
    ASSERT_EQ(bytes.size(), 848u + 12 + 8);

    const auto u16 = [&bytes](std::size_t at) { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); };
    const auto u32 = [&u16](std::size_t at) { return static_cast<uint32_t>(u16(at) | u16(at + 2) << 16); };
    // Sections 2 and 3 are empty and sit where section 1 ends.
    EXPECT_EQ(u32(64), 848u);
    EXPECT_EQ(u32(80), bytes.size());
    EXPECT_EQ(u32(96), bytes.size());
    EXPECT_EQ(u32(112), 2u);
    EXPECT_EQ(u32(116), 0u);
    EXPECT_EQ(u32(120), 0u);
    // First record: head n = 2 with bit 15 clear, 2 zero bytes, 2 zero values, the word.
    const ByteVector record(bytes.begin() + 848, bytes.begin() + 860);
    const ByteVector expected = {2, 0, 0, 0, 0, 0, 0, 0, 0xCD, 0x8B, 0xED, 0x8B};
    EXPECT_EQ(record, expected);
}

TEST(CellDictWriter, ReplacesAnExistingFileWhole)
{
    ScratchDir dir;
    const fs::path out = dir.Path() / "d.pvdict";
    WriteBytes(out, ByteVector(5000, 0xAB));
    CellDictContent content;
    content.words = {L"新"};
    std::string error;
    ASSERT_TRUE(WriteCellDictFile(out, content, error)) << error;
    EXPECT_EQ(fs::file_size(out), 848u + 8);
    EXPECT_EQ(FilesIn(dir.Path()).size(), 1u);
}

TEST(CellDictWriter, RefusesWhatCannotBeStoredAndLeavesNoFile)
{
    struct Case {
        const char* label;
        void (*spoil)(CellDictContent&);
    };
    const Case cases[] = {
        {"name of 33 units", [](CellDictContent& c) { c.name = std::wstring(33, L'名'); }},
        {"name of 17 astral characters",
         [](CellDictContent& c) {
             for (int i = 0; i < 17; ++i)
                 c.name += pvdict::Utf8ToWide("\xF0\xA0\x80\x80").value();
         }},
        {"category of 33 units", [](CellDictContent& c) { c.category = std::wstring(33, L'c'); }},
        {"description of 257 units", [](CellDictContent& c) { c.description = std::wstring(257, L'd'); }},
        {"name with a NUL", [](CellDictContent& c) { c.name = std::wstring(L"a\0b", 3); }},
        {"word of 256 units", [](CellDictContent& c) { c.words.push_back(std::wstring(256, L'w')); }},
        {"empty word", [](CellDictContent& c) { c.words.push_back(L""); }},
        {"word with a NUL", [](CellDictContent& c) { c.words.push_back(std::wstring(L"x\0y", 3)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CellDictContent content;
        content.words = {L"好"};
        c.spoil(content);
        for (bool existed : {false, true}) {
            SCOPED_TRACE(existed ? "over an existing file" : "no file before");
            ScratchDir dir;
            const fs::path out = dir.Path() / "d.pvdict";
            const ByteVector before(100, 0x5A);
            if (existed)
                WriteBytes(out, before);
            std::string error;
            EXPECT_FALSE(WriteCellDictFile(out, content, error));
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(FilesIn(dir.Path()).size(), existed ? 1u : 0u);
            if (existed) {
                EXPECT_EQ(ReadBytes(out), before);
            }
        }
    }
}

TEST(CellDictWriter, FailsWithoutTraceWhenTheTargetIsAFolder)
{
    ScratchDir dir;
    const fs::path out = dir.Path() / "taken.pvdict";
    fs::create_directory(out);
    CellDictContent content;
    content.words = {L"好"};
    std::string error;
    EXPECT_FALSE(WriteCellDictFile(out, content, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<fs::path>{"taken.pvdict"});
    EXPECT_TRUE(fs::is_directory(out));
}
