// The dialog templates as lexinst.exe carries them, and the success text's limit.
#include "support/E2eSupport.h"
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <sstream>
#include <string>

namespace {

// An extended dialog template (DLGTEMPLATEEX) as lines of text: the dialog, then
// one line per control. Fields are read in the order of the stream's operands.
std::wstring DescribeTemplate(HMODULE module, int id)
{
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(module, resource)));
    const size_t size = resource ? ::SizeofResource(module, resource) : 0;
    size_t pos = 0;
    auto u16 = [&] {
        uint16_t value = 0;
        if (pos + 2 <= size)
            std::memcpy(&value, data + pos, 2);
        pos += 2;
        return value;
    };
    auto u32 = [&] {
        const uint32_t low = u16();
        return low | uint32_t{u16()} << 16;
    };
    auto i16 = [&] { return static_cast<short>(u16()); };
    auto text = [&] {  // a string, or an ordinal as "#n"
        std::wstring result;
        uint16_t unit = u16();
        if (unit == 0xFFFF)
            return L"#" + std::to_wstring(u16());
        for (; unit != 0 && pos < size; unit = u16())
            result += static_cast<wchar_t>(unit);
        return result;
    };
    if (u16() != 1 || u16() != 0xFFFF)
        return L"no extended template";
    pos += 4;  // help id
    std::wostringstream out;
    out << std::hex << L"ex 0x" << u32();
    const uint32_t style = u32();
    const uint16_t count = u16();
    out << L" style 0x" << style << std::dec << L" at " << i16() << L"," << i16() << L" size " << i16() << L"x"
         << i16() << L" menu \"" << text() << L"\" class \"" << text() << L"\" \"" << text() << L"\"";
    if (style & DS_SETFONT) {
        out << L" font " << u16() << L" " << u16();
        pos += 2;  // italic, charset
        out << L" " << text();
    }
    out << L"\n";
    for (uint16_t i = 0; i < count; ++i) {
        pos = (pos + 3) & ~size_t{3};
        pos += 4;  // help id
        out << std::hex << L"ex 0x" << u32() << L" style 0x" << u32() << std::dec << L" at " << i16() << L","
             << i16() << L" size " << i16() << L"x" << i16() << L" id " << static_cast<int32_t>(u32());
        const std::wstring name = text();  // a predefined class by its ordinal or its name
        out << L" " << (name == L"#128" ? L"BUTTON" : name == L"#130" ? L"STATIC" : name) << L" \"" << text() << L"\"\n";
        pos += u16();  // creation data
    }
    return pos <= size ? out.str() : L"template cut short";
}

TEST(DialogTemplateTest, HoldsTheLayoutTextsAndStyles)
{
    const struct {
        int id;
        const wchar_t* expected;
    } rows[] = {
        {129,
         L"ex 0x0 style 0xca0040 at 0,0 size 256x149 menu \"\" class \"\" \"安装Pelvo输入法分类词库\" font 9 400 宋体\n"
         L"ex 0x0 style 0x50010001 at 147,131 size 50x14 id 1 BUTTON \"确定\"\n"
         L"ex 0x0 style 0x50010000 at 202,131 size 50x14 id 2 BUTTON \"取消\"\n"
         L"ex 0x0 style 0x5002c000 at 73,19 size 166x10 id 1003 STATIC \"<词库名称>\"\n"
         L"ex 0x0 style 0x5002c000 at 73,33 size 33x8 id 1004 STATIC \"词条数：\"\n"
         L"ex 0x0 style 0x50020000 at 19,61 size 45x10 id -1 STATIC \"词库举例：\"\n"
         L"ex 0x0 style 0x50020000 at 73,61 size 166x33 id 1007 STATIC \"<无>\"\n"
         L"ex 0x0 style 0x50020000 at 19,102 size 220x17 id 1008 STATIC \"<词库说明>\"\n"
         L"ex 0x0 style 0x5000080e at 17,12 size 43x43 id 1009 STATIC \"#202\"\n"
         L"ex 0x0 style 0x5002c000 at 111,33 size 128x10 id 1005 STATIC \"<词条数>\"\n"},
        {203,
         L"ex 0x0 style 0x80c800c0 at 0,0 size 239x98 menu \"\" class \"\" \"Pelvo输入法分类词库\" font 9 400 宋体\n"
         L"ex 0x0 style 0x50010001 at 185,80 size 50x14 id 1 BUTTON \"确定\"\n"
         L"ex 0x0 style 0x50020000 at 66,30 size 153x21 id 1011 STATIC \"Hello, world!\"\n"
         L"ex 0x0 style 0x50000a0e at 16,16 size 43x43 id 1012 STATIC \"#204\"\n"
         L"ex 0x0 style 0x50020000 at 185,62 size 50x8 id 1013 STATIC \"更多词库>>\"\n"
         L"ex 0x0 style 0x50010000 at 131,80 size 50x14 id 1014 BUTTON \"继续\"\n"},
    };
    const win::UniqueModule exe{::LoadLibraryExW(e2e::LexinstPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    ASSERT_TRUE(exe);
    for (const auto& row : rows) {
        SCOPED_TRACE("dialog " + std::to_string(row.id));
        EXPECT_EQ(e2e::ToUtf8(DescribeTemplate(exe.Get(), row.id)), e2e::ToUtf8(row.expected));
    }
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.name), (prefix + row.name + suffix).substr(0, 1023));
    }
}

}  // namespace
