// The dialog templates and pictures as they were linked into this program.
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct ControlTemplate {
    std::wstring className;  // upper case; "BUTTON"/"STATIC" for the predefined ordinals
    std::wstring text;       // "#<n>" for an ordinal
    int32_t id = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    std::wstring typeface;
    std::vector<ControlTemplate> controls;
};

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
    // A string or an ordinal, as dialog templates store them.
    std::wstring ReadSzOrOrd()
    {
        const uint16_t first = Read<uint16_t>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<uint16_t>());
        std::wstring text;
        for (uint16_t unit = first; unit != 0 && pos_ < size_; unit = Read<uint16_t>())
            text += static_cast<wchar_t>(unit);
        return text;
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~size_t{3}; }
    bool Ok() const { return pos_ <= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool LoadDialogTemplate(int id, DialogTemplate& dialog)
{
    HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!resource)
        return false;
    const auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, resource)));
    Reader in(data, ::SizeofResource(nullptr, resource));
    if (in.Read<uint16_t>() != 1 || in.Read<uint16_t>() != 0xFFFF)
        return false;  // not an extended template
    in.Read<uint32_t>();  // help id
    dialog.exStyle = in.Read<uint32_t>();
    dialog.style = in.Read<uint32_t>();
    const uint16_t count = in.Read<uint16_t>();
    in.Read<short>();
    in.Read<short>();
    dialog.cx = in.Read<short>();
    dialog.cy = in.Read<short>();
    in.ReadSzOrOrd();  // menu
    in.ReadSzOrOrd();  // class
    dialog.caption = in.ReadSzOrOrd();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Read<uint16_t>();
        dialog.weight = in.Read<uint16_t>();
        in.Read<uint8_t>();
        in.Read<uint8_t>();
        dialog.typeface = in.ReadSzOrOrd();
    }
    for (uint16_t i = 0; i < count; ++i) {
        in.AlignDword();
        ControlTemplate control;
        in.Read<uint32_t>();
        control.exStyle = in.Read<uint32_t>();
        control.style = in.Read<uint32_t>();
        control.x = in.Read<short>();
        control.y = in.Read<short>();
        control.cx = in.Read<short>();
        control.cy = in.Read<short>();
        control.id = in.Read<int32_t>();
        control.className = in.ReadSzOrOrd();
        // Predefined classes are stored as ordinals or as names in any case.
        if (control.className == L"#128")
            control.className = L"BUTTON";
        else if (control.className == L"#130")
            control.className = L"STATIC";
        for (wchar_t& c : control.className)
            c = static_cast<wchar_t>(std::towupper(c));
        control.text = in.ReadSzOrOrd();
        const uint16_t extra = in.Read<uint16_t>();
        for (uint16_t b = 0; b < extra; ++b)
            in.Read<uint8_t>();
        dialog.controls.push_back(control);
    }
    return in.Ok();
}

struct DialogCase {
    const char* name;
    int id;
    uint32_t style;
    short cx, cy;
    const wchar_t* caption;
    std::vector<ControlTemplate> controls;
};

void PrintTo(const DialogCase& dialog, std::ostream* out)
{
    *out << dialog.name;
}

class DialogTemplateTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogTemplateTest, HoldsTheLayoutTextsAndStyles)
{
    const DialogCase& expected = GetParam();
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(expected.id, dialog));
    EXPECT_EQ(dialog.style, expected.style);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.cx, expected.cx);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.caption, expected.caption);
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.weight, 400);
    EXPECT_EQ(dialog.typeface, L"宋体");
    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        const ControlTemplate& want = expected.controls[i];
        const ControlTemplate& got = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(want.id) + ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Resources, DialogTemplateTest,
    ::testing::Values(
        DialogCase{"information",
                   129,
                   0x00CA0040,
                   256,
                   149,
                   L"安装Pelvo输入法分类词库",
                   {
                       {L"BUTTON", L"确定", 1, 0x50010001, 0, 147, 131, 50, 14},
                       {L"BUTTON", L"取消", 2, 0x50010000, 0, 202, 131, 50, 14},
                       {L"STATIC", L"<词库名称>", 1003, 0x5002C000, 0, 73, 19, 166, 10},
                       {L"STATIC", L"词条数：", 1004, 0x5002C000, 0, 73, 33, 33, 8},
                       {L"STATIC", L"词库举例：", -1, 0x50020000, 0, 19, 61, 45, 10},
                       {L"STATIC", L"<无>", 1007, 0x50020000, 0, 73, 61, 166, 33},
                       {L"STATIC", L"<词库说明>", 1008, 0x50020000, 0, 19, 102, 220, 17},
                       {L"STATIC", L"#202", 1009, 0x5000080E, 0, 17, 12, 43, 43},
                       {L"STATIC", L"<词条数>", 1005, 0x5002C000, 0, 111, 33, 128, 10},
                   }},
        DialogCase{"message",
                   203,
                   0x80C800C0,
                   239,
                   98,
                   L"Pelvo输入法分类词库",
                   {
                       {L"BUTTON", L"确定", 1, 0x50010001, 0, 185, 80, 50, 14},
                       {L"STATIC", L"Hello, world!", 1011, 0x50020000, 0, 66, 30, 153, 21},
                       {L"STATIC", L"#204", 1012, 0x50000A0E, 0, 16, 16, 43, 43},
                       {L"STATIC", L"更多词库>>", 1013, 0x50020000, 0, 185, 62, 50, 8},
                       {L"BUTTON", L"继续", 1014, 0x50010000, 0, 131, 80, 50, 14},
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

class PictureResourceTest : public ::testing::TestWithParam<int> {};

// 64 x 64, 24-bit, with the dialogs' background in the corners so that it blends in.
TEST_P(PictureResourceTest, IsA64PixelTrueColourBitmapOnTheDialogBackground)
{
    const int id = GetParam();
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(::GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biWidth, 64);
    EXPECT_EQ(std::abs(dib.dsBmih.biHeight), 64);
    EXPECT_EQ(dib.dsBmih.biBitCount, 24);
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const int stride = dib.dsBm.bmWidthBytes;
    for (int row : {0, 63}) {
        for (int column : {0, 63}) {
            const uint8_t* pixel = bits + row * stride + column * 3;
            SCOPED_TRACE("corner " + std::to_string(column) + "," + std::to_string(row));
            EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), RGB(243, 250, 255));
        }
    }
    ::DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Resources, PictureResourceTest,
                         ::testing::Values(IDB_PACKAGE, IDB_SUCCESS, IDB_WARNING, IDB_INFORMATION));

TEST(IconResourceTest, OffersEveryShellSize)
{
    HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_DICTFILE), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(resource, nullptr);
    const auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, resource)));
    uint16_t count = 0;
    std::memcpy(&count, data + 4, 2);
    std::vector<int> sizes;
    for (uint16_t i = 0; i < count; ++i) {
        const int edge = data[6 + i * 14];  // GRPICONDIRENTRY: width first; 0 means 256
        sizes.push_back(edge == 0 ? 256 : edge);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

}  // namespace
