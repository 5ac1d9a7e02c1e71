#include "core/VerdictText.h"

#include <cstdio>

namespace {

std::string Format(const char* format, auto... values)
{
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string DescribeMagic(const CellDictHeader& header)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(header.magic);
    std::string text = "wrong magic: the file begins with";
    for (std::size_t i = 0; i < sizeof header.magic; ++i)
        text += Format(" %02x", bytes[i]);
    return text + ", not \"lmrtpvsw\"";
}

}  // namespace

std::string DescribeVerdict(const CellDictVerdict& verdict, const CellDictFile& file)
{
    using Problem = CellDictVerdict::Problem;
    const auto offset = static_cast<long long>(verdict.offset);
    switch (verdict.problem) {
    case Problem::None: return {};
    case Problem::CannotOpen: return "cannot open the file";
    case Problem::TooShort: return Format("the file is %u bytes, shorter than the 848-byte header", file.fileSize);
    case Problem::TooLarge: return "the file is 2 GiB or larger: its size is beyond a 32-bit file position";
    case Problem::HeaderUnreadable: return "the 848-byte header cannot be read";
    case Problem::BadMagic: return DescribeMagic(file.header);
    case Problem::SeekFailed:
        return Format("section %d, record %u: cannot seek to offset %lld", verdict.section, verdict.record, offset);
    case Problem::RecordHeadUnreadable:
        return Format("section %d, record %u: the record head at offset %lld cannot be read (the file ends at %u)",
                      verdict.section, verdict.record, offset, file.fileSize);
    case Problem::SectionMisplaced:
        return Format("section %d should start at offset %lld (header), but the sections before it end at offset %lld",
                      verdict.section, static_cast<long long>(verdict.expected), offset);
    }
    return "unknown problem";
}
