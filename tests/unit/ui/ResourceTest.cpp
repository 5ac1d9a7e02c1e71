// The dialog templates, pictures and icon as they were linked into this program.
#include "resource.h"
#include "support/E2eSupport.h"

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
    short x = 0, y = 0, cx = 0, cy = 0;
    uint32_t exStyle = 0;
    bool operator==(const ControlTemplate&) const = default;
};

struct DialogTemplate {
    uint32_t style = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    std::wstring font;  // "<points> <weight> <typeface>"
    std::vector<ControlTemplate> controls;
    uint32_t exStyle = 0;
    bool operator==(const DialogTemplate&) const = default;
};

void PrintTo(const DialogTemplate& dialog, std::ostream* out)
{
    *out << std::hex << "style 0x" << dialog.style << " ex 0x" << dialog.exStyle << std::dec << " " << dialog.cx << "x"
         << dialog.cy << " \"" << e2e::ToUtf8(dialog.caption) << "\" " << e2e::ToUtf8(dialog.font);
    for (const ControlTemplate& c : dialog.controls)
        *out << "\n  " << c.id << " " << e2e::ToUtf8(c.className) << " \"" << e2e::ToUtf8(c.text) << "\" 0x"
             << std::hex << c.style << " ex 0x" << c.exStyle << std::dec << " " << c.x << "," << c.y << " " << c.cx
             << "x" << c.cy;
}

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
    void Skip(size_t bytes) { pos_ += bytes; }
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
    Reader in(static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, resource))),
              ::SizeofResource(nullptr, resource));
    if (in.Read<uint16_t>() != 1 || in.Read<uint16_t>() != 0xFFFF)
        return false;  // not an extended template
    in.Skip(4);        // help id
    dialog.exStyle = in.Read<uint32_t>();
    dialog.style = in.Read<uint32_t>();
    const uint16_t count = in.Read<uint16_t>();
    in.Skip(4);  // x, y
    dialog.cx = in.Read<short>();
    dialog.cy = in.Read<short>();
    in.ReadSzOrOrd();  // menu
    in.ReadSzOrOrd();  // class
    dialog.caption = in.ReadSzOrOrd();
    if (dialog.style & DS_SETFONT) {
        const uint16_t points = in.Read<uint16_t>();
        const uint16_t weight = in.Read<uint16_t>();
        in.Skip(2);  // italic, charset
        dialog.font = std::to_wstring(points) + L" " + std::to_wstring(weight) + L" " + in.ReadSzOrOrd();
    }
    for (uint16_t i = 0; i < count; ++i) {
        in.AlignDword();
        ControlTemplate control;
        in.Skip(4);  // help id
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
        in.Skip(in.Read<uint16_t>());  // creation data
        dialog.controls.push_back(control);
    }
    return in.Ok();
}

TEST(DialogTemplateTest, HoldsTheLayoutTextsAndStyles)
{
    const struct {
        const char* name;
        int id;
        DialogTemplate expected;
    } rows[] = {
        {"information", 129,
         {0x00CA0040, 256, 149, L"安装Pelvo输入法分类词库", L"9 400 宋体",
          {
              {L"BUTTON", L"确定", 1, 0x50010001, 147, 131, 50, 14},
              {L"BUTTON", L"取消", 2, 0x50010000, 202, 131, 50, 14},
              {L"STATIC", L"<词库名称>", 1003, 0x5002C000, 73, 19, 166, 10},
              {L"STATIC", L"词条数：", 1004, 0x5002C000, 73, 33, 33, 8},
              {L"STATIC", L"词库举例：", -1, 0x50020000, 19, 61, 45, 10},
              {L"STATIC", L"<无>", 1007, 0x50020000, 73, 61, 166, 33},
              {L"STATIC", L"<词库说明>", 1008, 0x50020000, 19, 102, 220, 17},
              {L"STATIC", L"#202", 1009, 0x5000080E, 17, 12, 43, 43},
              {L"STATIC", L"<词条数>", 1005, 0x5002C000, 111, 33, 128, 10},
          }}},
        {"message", 203,
         {0x80C800C0, 239, 98, L"Pelvo输入法分类词库", L"9 400 宋体",
          {
              {L"BUTTON", L"确定", 1, 0x50010001, 185, 80, 50, 14},
              {L"STATIC", L"Hello, world!", 1011, 0x50020000, 66, 30, 153, 21},
              {L"STATIC", L"#204", 1012, 0x50000A0E, 16, 16, 43, 43},
              {L"STATIC", L"更多词库>>", 1013, 0x50020000, 185, 62, 50, 8},
              {L"BUTTON", L"继续", 1014, 0x50010000, 131, 80, 50, 14},
          }}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogTemplate dialog;
        ASSERT_TRUE(LoadDialogTemplate(row.id, dialog));
        EXPECT_EQ(dialog, row.expected);
    }
}

// 64 x 64, 24-bit, with the dialogs' background in the corners so that it blends in.
TEST(PictureResourceTest, IsA64PixelTrueColourBitmapOnTheDialogBackground)
{
    for (int id : {IDB_PACKAGE, IDB_SUCCESS, IDB_WARNING, IDB_INFORMATION}) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION dib{};
        ASSERT_EQ(::GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBmih.biWidth, 64);
        EXPECT_EQ(std::abs(dib.dsBmih.biHeight), 64);
        EXPECT_EQ(dib.dsBmih.biBitCount, 24);
        const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
        for (int row : {0, 63}) {
            for (int column : {0, 63}) {
                const uint8_t* pixel = bits + row * dib.dsBm.bmWidthBytes + column * 3;
                EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), RGB(243, 250, 255)) << "corner " << column << "," << row;
            }
        }
        ::DeleteObject(bitmap);
    }
}

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
