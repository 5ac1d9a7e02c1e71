#pragma once
// Builds the raw bytes of .pvdict files for tests: a header, the records of the
// three sections, and anything after them. The Add* calls keep the header's
// counts and offsets in step with the records (sections laid out back to back
// right after the header); change `header` afterwards to break the layout on
// purpose, or use Bytes() and cut or extend the result.

#include "dict/CellDictHeader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using ByteVector = std::vector<uint8_t>;

class DictBytes {
public:
    // Right magic, formatLevel 0, empty sections starting at byte 848.
    DictBytes();

    // Text slots: the units are written from the slot's start (and run on into
    // the following fields when longer than the slot); the length field is set
    // to the text's length. Set the length field by hand afterwards to test caps.
    DictBytes& Name(std::u16string_view text);
    DictBytes& Text2(std::u16string_view text);
    DictBytes& Category(std::u16string_view text);
    DictBytes& Description(std::u16string_view text);
    DictBytes& Identity(uint32_t dictId, uint32_t major, uint32_t minor, uint32_t build);

    // Section 1: a word record. The head's n is the word's length; `noSample`
    // sets bit 15. The n 16-bit values before the word are filled with `fill`.
    DictBytes& Word(std::u16string_view word, bool noSample = false, uint16_t fill = 0x1111);
    // Section 1: a record from its raw head; `units` is n units (values and word
    // together use 2n, so pass 2n units for a complete record, fewer to cut it).
    DictBytes& Section1Raw(uint16_t head, const std::vector<uint16_t>& units);
    // Section 1: `count` records of 4 bytes with n = 0 and the given flag bit.
    DictBytes& EmptyWords(uint32_t count, bool noSample);
    // Section 2: a record of L + 4 bytes (payload filled with `fill`).
    DictBytes& Section2(uint8_t length, uint8_t fill = 0x22);
    // Section 3: a record of 8 + 2(x + y + z) bytes.
    DictBytes& Section3(uint8_t x, uint8_t y, uint8_t z, uint8_t fill = 0x33);
    // Bytes after the last section.
    DictBytes& Tail(const ByteVector& bytes);

    // Sizes of the sections as built so far.
    uint32_t Section1Size() const { return static_cast<uint32_t>(section1_.size()); }
    uint32_t Section2Size() const { return static_cast<uint32_t>(section2_.size()); }
    uint32_t Section3Size() const { return static_cast<uint32_t>(section3_.size()); }

    // Header as it stands, then sections 1, 2, 3 and the tail.
    ByteVector Bytes() const;

    CellDictHeader header;

private:
    void SetText(std::size_t slotOffset, std::size_t slotUnits, std::u16string_view text);
    void Relayout();

    ByteVector section1_;
    ByteVector section2_;
    ByteVector section3_;
    ByteVector tail_;
};

// Little-endian helpers for tests that patch bytes in place.
void PutU16(ByteVector& bytes, std::size_t offset, uint16_t value);
void PutU32(ByteVector& bytes, std::size_t offset, uint32_t value);
