#include "core/SampleLayout.h"

#include <algorithm>

namespace {

struct Layout {
    std::wstring text;
    int lines = 1;
    bool fits = true;  // no line is wider than the control
};

// The first `count` samples filled greedily into lines, the last followed by " ...".
Layout LayOut(const std::vector<std::wstring>& samples, std::size_t count, int lineWidth, const MeasureText& measure)
{
    // A line grows only while it fits, so only a word that starts one can be too wide.
    Layout layout;
    layout.fits = measure(samples[0]) <= lineWidth;
    std::wstring line = samples[0];
    for (std::size_t i = 1; i < count; ++i) {
        const wchar_t* ending = i + 1 == count ? L" ..." : L"";
        std::wstring longer = line + L' ' + samples[i];
        if (measure(longer + ending) <= lineWidth) {
            line = std::move(longer);
            continue;
        }
        layout.text += line + L"\r\n";
        ++layout.lines;
        line = samples[i];
        layout.fits = layout.fits && measure(line + ending) <= lineWidth;
    }
    layout.text += line + L" ...";
    return layout;
}

}  // namespace

std::wstring FitSampleText(const std::vector<std::wstring>& samples, int lineWidth, int maxLines,
                           const MeasureText& measure)
{
    if (samples.empty())
        return L"<无>";
    maxLines = std::max(maxLines, 1);
    for (std::size_t count = samples.size(); count > 1; --count) {
        Layout layout = LayOut(samples, count, lineWidth, measure);
        if (layout.fits && layout.lines <= maxLines)
            return layout.text;
    }
    return LayOut(samples, 1, lineWidth, measure).text;
}
