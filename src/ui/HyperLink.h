#pragma once
// A link drawn over an existing static control: underlined label, hand cursor,
// tooltip with the target, and the shell's "open" verb on the target when the
// label is clicked or Enter/Space reaches the control.

#include "win/UniqueResource.h"

#include <windows.h>

#include <string>

namespace ui {

inline constexpr COLORREF kDefaultLinkColor = RGB(0, 0, 255);
inline constexpr COLORREF kDefaultVisitedColor = RGB(128, 0, 128);

// "r,g,b" in decimal, each taken modulo 256. False (colour untouched) without
// two commas, with nothing after the second comma, or when red or green reads
// as -1. Numbers are read like atoi: leading digits, anything after them ignored.
bool ParseAnchorColor(const wchar_t* text, COLORREF& color);

struct ToolTipTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    // The system destroys owned pop-ups with their owner, so the handle may be gone already.
    static void Close(Type window) noexcept
    {
        if (::IsWindow(window))
            ::DestroyWindow(window);
    }
};

class HyperLink {
public:
    HyperLink() = default;
    ~HyperLink();
    HyperLink(const HyperLink&) = delete;
    HyperLink& operator=(const HyperLink&) = delete;

    // The font the label is drawn from; borrowed, never deleted here.
    HFONT GetNormalFont() const { return normalFont; }
    void SetNormalFont(HFONT font) { normalFont = font; }

    // Takes over a static control and sets the link up; false leaves it a plain static.
    bool SubclassWindow(HWND control);
    void SetTarget(const std::wstring& text);
    // The control's font changed (a new DPI): the label is drawn and measured anew from `font`.
    void ChangeFont(HFONT font);

    HWND Window() const { return window; }
    const std::wstring& Target() const { return target; }
    bool IsVisited() const { return visited; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Initialize();
    void ReadColors();
    void CreateLinkFont();
    void CalcLabelRect();
    void CreateToolTip();
    bool IsOverLabel(POINT clientPoint) const;
    void Navigate();
    void Repaint() const;
    void Paint();
    void Detach();

    HWND window = nullptr;
    HFONT normalFont = nullptr;
    win::UniqueFont linkFont;
    HCURSOR linkCursor = nullptr;  // shared system cursor: never destroyed
    win::UniqueResource<ToolTipTraits> toolTip;
    bool toolAdded = false;
    std::wstring label;
    std::wstring target;
    RECT labelRect{};
    COLORREF linkColor = kDefaultLinkColor;
    COLORREF visitedColor = kDefaultVisitedColor;
    bool visited = false;
};

}  // namespace ui
