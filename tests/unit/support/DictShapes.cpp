#include "support/DictShapes.h"

#include <random>
#include <string>

ByteVector MostRecordsDict(uint32_t size)
{
    const uint32_t records = (size - static_cast<uint32_t>(kCellDictHeaderSize) - 2) / 4;
    DictBytes dict;
    dict.EmptyWords(records, false);
    const uint32_t used = static_cast<uint32_t>(kCellDictHeaderSize) + dict.Section1Size();
    return dict.Tail(ByteVector(size - used, 0)).Bytes();
}

ByteVector RealisticDict(uint32_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    DictBytes dict;
    dict.Name(u"城市地名").Category(u"城市,地名").Description(u"常用城市与地名").Identity(4096, 1, 2, 3);
    auto pick = [&](uint32_t low, uint32_t high) { return low + random() % (high - low + 1); };

    const uint32_t budget = size - static_cast<uint32_t>(kCellDictHeaderSize);
    const uint32_t section1Budget = budget / 100 * 85;
    const uint32_t section2Budget = budget / 100 * 10;
    std::u16string word;
    while (dict.Section1Size() + 20 <= section1Budget) {
        word.resize(pick(2, 4));
        for (char16_t& unit : word)
            unit = static_cast<char16_t>(pick(0x4E00, 0x9FA5));
        dict.Word(word, random() % 16 == 0, static_cast<uint16_t>(random()));
    }
    while (dict.Section2Size() + 259 <= section2Budget)
        dict.Section2(static_cast<uint8_t>(pick(0, 60)));
    // Two bytes stay over: the walk reads 10 bytes at a section-3 record of 8.
    const uint32_t section3Budget = budget - dict.Section1Size() - dict.Section2Size() - 2;
    while (dict.Section3Size() + 8 + 2 * 3 * 255 <= section3Budget)
        dict.Section3(static_cast<uint8_t>(pick(0, 8)), static_cast<uint8_t>(pick(0, 8)), static_cast<uint8_t>(pick(0, 8)));
    const uint32_t used = static_cast<uint32_t>(kCellDictHeaderSize) + dict.Section1Size() + dict.Section2Size() +
                          dict.Section3Size();
    return dict.Tail(ByteVector(size - used, 0)).Bytes();
}

ByteVector LateSampleDict(uint32_t size)
{
    DictBytes dict;
    dict.Word(u"");
    const uint32_t fixed = static_cast<uint32_t>(kCellDictHeaderSize) + 4 + 12;
    const uint32_t records = (size - fixed) / 4;
    for (uint32_t i = 0; i < records; ++i)
        dict.EmptyWords(1, i % 2 == 0);
    dict.Word(u"末尾");
    const uint32_t used = static_cast<uint32_t>(kCellDictHeaderSize) + dict.Section1Size();
    return dict.Tail(ByteVector(size - used, 0)).Bytes();
}
