#include "support/DictShapes.h"

#include <random>

ByteVector MostRecordsDict(uint32_t size)
{
    DictBytes dict;
    // The walk reads 6 bytes at a 4-byte record: 2 stay over after the last.
    while (dict.Size() + 6 <= size)
        dict.Word(u"");
    return dict.Tail(ByteVector(size - dict.Size(), 0)).Bytes();
}

ByteVector RealisticDict(uint32_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    DictBytes dict;
    dict.Name(u"城市地名").Category(u"城市,地名").Description(u"常用城市与地名").Identity(4096, 1, 2, 3);
    // 85 % in section 1, 10 % in section 2, the rest in section 3.
    // Now and then a long word: records longer than the reader's usual stride.
    while (dict.Size() + 1024 <= size / 100 * 85) {
        std::u16string word(random() % 256 == 0 ? random() % 256 : 2 + random() % 3, u'\0');
        for (char16_t& unit : word)
            unit = static_cast<char16_t>(0x4E00 + random() % 0x51A6);
        dict.Word(word, random() % 16 == 0, static_cast<uint16_t>(random()));
    }
    while (dict.Size() + 259 <= size / 100 * 95)
        dict.Section2(static_cast<uint8_t>(random() % 61));
    // The walk reads 10 bytes at a section-3 record of 8: 2 stay over after the last.
    while (dict.Size() + 58 <= size)
        dict.Section3(random() % 9, random() % 9, random() % 9);
    return dict.Tail(ByteVector(size - dict.Size(), 0)).Bytes();
}

ByteVector LateSampleDict(uint32_t size)
{
    DictBytes dict;
    dict.Word(u"");
    for (int i = 0; dict.Size() + 16 <= size; ++i)
        dict.Word(u"", i % 2 == 0);
    dict.Word(u"末尾");
    return dict.Tail(ByteVector(size - dict.Size(), 0)).Bytes();
}
