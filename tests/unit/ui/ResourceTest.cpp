// The dialog templates as lexinst.exe carries them, and the success text's limit.
#include "support/E2eSupport.h"
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwctype>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Reads an extended dialog template (DLGTEMPLATEEX) field by field.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    template <typename T>
    T Read()
    {
        T value{};
        if (pos_ + sizeof(T) <= size_)
            std::memcpy(&value, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }
    // A string, or an ordinal as "#n".
    std::wstring SzOrOrd()
    {
        const uint16_t first = Read<uint16_t>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<uint16_t>());
        std::wstring text;
        for (uint16_t unit = first; unit != 0 && pos_ < size_; unit = Read<uint16_t>())
            text += static_cast<wchar_t>(unit);
        return text;
    }
    void Skip(size_t bytes) { pos_ += bytes; }
    void AlignDword() { pos_ = (pos_ + 3) & ~size_t{3}; }
    bool Ok() const { return pos_ <= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The template as lines of text: the dialog, then one line per control. The
// fields are read in the order of the stream's operands.
std::vector<std::wstring> DescribeTemplate(HMODULE module, int id)
{
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!resource)
        return {L"no such dialog"};
    Reader in(static_cast<const uint8_t*>(::LockResource(::LoadResource(module, resource))),
              ::SizeofResource(module, resource));
    if (in.Read<uint16_t>() != 1 || in.Read<uint16_t>() != 0xFFFF)
        return {L"not an extended template"};
    in.Skip(4);  // help id
    std::wostringstream line;
    line << std::hex << L"ex 0x" << in.Read<uint32_t>();
    const uint32_t style = in.Read<uint32_t>();
    const uint16_t count = in.Read<uint16_t>();
    line << L" style 0x" << style << std::dec << L" at " << in.Read<short>() << L"," << in.Read<short>() << L" size "
         << in.Read<short>() << L"x" << in.Read<short>() << L" menu \"" << in.SzOrOrd() << L"\" class \""
         << in.SzOrOrd() << L"\" \"" << in.SzOrOrd() << L"\"";
    if (style & DS_SETFONT) {
        line << L" font " << in.Read<uint16_t>() << L" " << in.Read<uint16_t>();
        in.Skip(2);  // italic, charset
        line << L" " << in.SzOrOrd();
    }
    std::vector<std::wstring> lines{line.str()};
    for (uint16_t i = 0; i < count; ++i) {
        in.AlignDword();
        in.Skip(4);  // help id
        std::wostringstream control;
        control << std::hex << L"ex 0x" << in.Read<uint32_t>() << L" style 0x" << in.Read<uint32_t>() << std::dec
                << L" at " << in.Read<short>() << L"," << in.Read<short>() << L" size " << in.Read<short>() << L"x"
                << in.Read<short>() << L" id " << in.Read<int32_t>();
        std::wstring className = in.SzOrOrd();
        // Predefined classes may be stored as ordinals or as names in any case.
        className = className == L"#128" ? L"BUTTON" : className == L"#130" ? L"STATIC" : className;
        for (wchar_t& c : className)
            c = static_cast<wchar_t>(std::towupper(c));
        control << L" " << className << L" \"" << in.SzOrOrd() << L"\"";
        in.Skip(in.Read<uint16_t>());  // creation data
        lines.push_back(control.str());
    }
    return in.Ok() ? lines : std::vector<std::wstring>{L"template cut short"};
}

TEST(DialogTemplateTest, HoldsTheLayoutTextsAndStyles)
{
    const struct {
        int id;
        std::vector<std::wstring> expected;
    } rows[] = {
        {129,
         {L"ex 0x0 style 0xca0040 at 0,0 size 256x149 menu \"\" class \"\" \"安装Pelvo输入法分类词库\" font 9 400 宋体",
          L"ex 0x0 style 0x50010001 at 147,131 size 50x14 id 1 BUTTON \"确定\"",
          L"ex 0x0 style 0x50010000 at 202,131 size 50x14 id 2 BUTTON \"取消\"",
          L"ex 0x0 style 0x5002c000 at 73,19 size 166x10 id 1003 STATIC \"<词库名称>\"",
          L"ex 0x0 style 0x5002c000 at 73,33 size 33x8 id 1004 STATIC \"词条数：\"",
          L"ex 0x0 style 0x50020000 at 19,61 size 45x10 id -1 STATIC \"词库举例：\"",
          L"ex 0x0 style 0x50020000 at 73,61 size 166x33 id 1007 STATIC \"<无>\"",
          L"ex 0x0 style 0x50020000 at 19,102 size 220x17 id 1008 STATIC \"<词库说明>\"",
          L"ex 0x0 style 0x5000080e at 17,12 size 43x43 id 1009 STATIC \"#202\"",
          L"ex 0x0 style 0x5002c000 at 111,33 size 128x10 id 1005 STATIC \"<词条数>\""}},
        {203,
         {L"ex 0x0 style 0x80c800c0 at 0,0 size 239x98 menu \"\" class \"\" \"Pelvo输入法分类词库\" font 9 400 宋体",
          L"ex 0x0 style 0x50010001 at 185,80 size 50x14 id 1 BUTTON \"确定\"",
          L"ex 0x0 style 0x50020000 at 66,30 size 153x21 id 1011 STATIC \"Hello, world!\"",
          L"ex 0x0 style 0x50000a0e at 16,16 size 43x43 id 1012 STATIC \"#204\"",
          L"ex 0x0 style 0x50020000 at 185,62 size 50x8 id 1013 STATIC \"更多词库>>\"",
          L"ex 0x0 style 0x50010000 at 131,80 size 50x14 id 1014 BUTTON \"继续\""}},
    };
    HMODULE exe = ::LoadLibraryExW(e2e::LexinstPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    for (const auto& row : rows) {
        const std::vector<std::wstring> lines = DescribeTemplate(exe, row.id);
        for (size_t i = 0; i < std::max(lines.size(), row.expected.size()); ++i) {
            SCOPED_TRACE("dialog " + std::to_string(row.id) + " line " + std::to_string(i));
            EXPECT_EQ(e2e::ToUtf8(i < lines.size() ? lines[i] : L"<none>"),
                      e2e::ToUtf8(i < row.expected.size() ? row.expected[i] : L"<none>"));
        }
    }
    ::FreeLibrary(exe);
}

// The name goes into the second line literally, and the whole text stops at 1023 units.
TEST(SuccessMessageTest, NamesTheDictionaryAndStopsAt1023Units)
{
    const std::wstring prefix = L"您已成功安装\r\n", suffix = L" 分类词库。";
    const struct {
        const char* what;
        std::wstring name;
    } rows[] = {
        {"printf directives stay literal", L"%s%d%n"},
        {"text of exactly 1023 units", std::wstring(1023 - prefix.size() - suffix.size(), L'词')},
        {"text of 1024 units", std::wstring(1024 - prefix.size() - suffix.size(), L'词')},
        {"name of 4000 units", std::wstring(4000, L'词')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.name), (prefix + row.name + suffix).substr(0, 1023));
    }
}

}  // namespace
