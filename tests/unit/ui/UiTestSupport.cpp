#include "UiTestSupport.h"

#include "support/DictBytes.h"

#include <algorithm>

namespace uitest {

CellDictInfo MakeInfo(std::u16string_view name, std::u16string_view description, uint32_t entries,
                      std::vector<std::wstring> samples)
{
    DictBytes bytes;
    bytes.Name(name).Description(description);
    CellDictInfo info;
    info.header = bytes.header;
    // Spread over the three sections: the dialog shows their sum.
    info.header.section1Count = entries / 2;
    info.header.section2Count = entries / 3;
    info.header.section3Count = entries - entries / 2 - entries / 3;
    info.storedName = L"1_1_0_0.pvdict";
    info.samples = std::move(samples);
    return info;
}

namespace {

template <typename Visit>
void ForEachPixel(const DialogView& view, int control, Visit visit)
{
    const auto found = view.rects.find(control);
    if (found == view.rects.end() || view.capture.Empty())
        return;
    const RECT& r = found->second;
    for (int y = std::max(0L, r.top); y < std::min<long>(r.bottom, view.capture.height); ++y)
        for (int x = std::max(0L, r.left); x < std::min<long>(r.right, view.capture.width); ++x)
            visit(view.capture.At(x, y));
}

}  // namespace

int CountPixels(const DialogView& view, int control, COLORREF color)
{
    int count = 0;
    ForEachPixel(view, control, [&](COLORREF pixel) { count += pixel == color; });
    return count;
}

COLORREF DarkestPixel(const DialogView& view, int control)
{
    COLORREF darkest = RGB(255, 255, 255);
    auto weight = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    ForEachPixel(view, control, [&](COLORREF pixel) {
        if (weight(pixel) < weight(darkest))
            darkest = pixel;
    });
    return darkest;
}

}  // namespace uitest
