#pragma once
// The 848-byte header of a .pvdict file, held byte for byte as stored.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "the header is read into memory as stored: little-endian hosts only");

#pragma pack(push, 1)
struct CellDictHeader {
    uint32_t magic[2];  // "lmrt", "pvsw"
    uint16_t formatLevel;
    uint16_t reserved10;
    uint32_t decimalVersion;  // p*10000 + q*100 + r
    uint32_t dictId;
    uint32_t reserved20;
    uint32_t version[3];
    uint8_t reserved36[28];
    uint32_t section1Offset;
    uint8_t reserved68[12];
    uint32_t section2Offset;
    uint8_t reserved84[12];
    uint32_t section3Offset;
    uint8_t reserved100[12];
    uint32_t section1Count;
    uint32_t section2Count;
    uint32_t section3Count;
    uint32_t reserved124;
    uint32_t nameLength;
    uint32_t text2Length;
    uint32_t categoryLength;
    uint32_t descriptionLength;
    uint16_t name[32];  // UTF-16LE units
    uint16_t text2[32];
    uint16_t category[32];
    uint16_t description[256];

    // Texts: units from the slot's start up to the first NUL (running on into the
    // following fields, never past the header), cut to the slot's length field.
    std::wstring GetName() const;
    std::wstring GetDescription() const;
    // The units before the first ","; "其他" when that is empty.
    std::wstring GetCategory() const;
    uint32_t GetEntryCount() const;  // 32-bit sum of the three section counts
    // The entry count as a signed int through a printf-style format ("%d").
    std::wstring FormatEntryCount(const wchar_t* format) const;
    bool HasValidMagic() const;
};
#pragma pack(pop)

inline constexpr std::size_t kCellDictHeaderSize = 848;
inline constexpr uint32_t kCellDictMagic0 = 0x74726d6c;  // "lmrt"
inline constexpr uint32_t kCellDictMagic1 = 0x77737670;  // "pvsw"

static_assert(sizeof(CellDictHeader) == kCellDictHeaderSize);
static_assert(offsetof(CellDictHeader, formatLevel) == 8);
static_assert(offsetof(CellDictHeader, decimalVersion) == 12);
static_assert(offsetof(CellDictHeader, dictId) == 16);
static_assert(offsetof(CellDictHeader, version) == 24);
static_assert(offsetof(CellDictHeader, section1Offset) == 64);
static_assert(offsetof(CellDictHeader, section2Offset) == 80);
static_assert(offsetof(CellDictHeader, section3Offset) == 96);
static_assert(offsetof(CellDictHeader, section1Count) == 112);
static_assert(offsetof(CellDictHeader, section3Count) == 120);
static_assert(offsetof(CellDictHeader, nameLength) == 128);
static_assert(offsetof(CellDictHeader, descriptionLength) == 140);
static_assert(offsetof(CellDictHeader, name) == 144);
static_assert(offsetof(CellDictHeader, text2) == 208);
static_assert(offsetof(CellDictHeader, category) == 272);
static_assert(offsetof(CellDictHeader, description) == 336);

// True when a's version is newer than b's: at the first differing part the
// two's-complement difference a - b is positive. Equal versions are not newer.
bool IsNewerVersion(const CellDictHeader& a, const CellDictHeader& b);

// `count` UTF-16LE units at `bytes` as a wide string: unit for unit where
// wchar_t is 16 bits; elsewhere surrogate pairs become one code point and a
// lone surrogate is kept as it is.
std::wstring WideFromUtf16Le(const uint8_t* bytes, std::size_t count);
// The same into `text`, reusing its storage.
void AssignWideFromUtf16Le(std::wstring& text, const uint8_t* bytes, std::size_t count);
