#pragma once
// The sample-word line of the information dialog, broken into lines by the program
// so that the control never splits a word or leaves "..." alone on a line.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Width in pixels of a text drawn on one line.
using MeasureText = std::function<int(std::wstring_view)>;

// The sample words as a control `lineWidth` pixels wide and `maxLines` lines high shows them:
// the words in order, separated by one space, the last one shown followed by " ..."; on one
// line that is GetSampleText(), and "<无>" when there are none. Lines break only at a space,
// which becomes "\r\n", and "..." stays on the line of its word. A word goes on the current
// line when that line, with it (and " ..." after the last word), measures at most
// `lineWidth`; otherwise it starts the next line. When the words do not all fit in
// `maxLines` lines (at least 1), the longest prefix that does, no line wider than
// `lineWidth`, is shown; the first word is always shown, even when it alone is wider.
std::wstring FitSampleText(const std::vector<std::wstring>& samples, int lineWidth, int maxLines,
                           const MeasureText& measure);
