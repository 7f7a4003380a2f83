#include "skin/progress_bar_win32.h"

#include <commctrl.h>

#include "platform/raii_win32.h"
#include "skin/paint_win32.h"
#include "view/skin_geometry.h"

namespace quorv::win {
ProgressBar::~ProgressBar() {
    if (HWND bar = hwnd()) {
        Detach();
        ::DestroyWindow(bar);
    }
}

HWND ProgressBar::Create(HWND parent, const RECT& rect, int minimum, int maximum, int theme) {
    if (!RegisterControlClass(kProgressBarClass)) return nullptr;
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = minimum;
    theme_ = theme;
    return CreateChild(parent, kProgressBarClass, L"", WS_CHILD | WS_VISIBLE, rect);
}

void ProgressBar::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    Invalidate();
}

void ProgressBar::SetPosition(int position) {
    if (position < minimum_ || position > maximum_ || position == position_) return;
    position_ = position;
    Invalidate();
}

void ProgressBar::SetScale(Scale scale) {
    scale_ = scale;
    Invalidate();
}

void ProgressBar::SetTheme(int theme) {
    theme_ = theme;
    Invalidate();
}

void ProgressBar::PaintContent(HDC dc, const RECT& rect) const {
    const Rect client{rect.left, rect.top, rect.right, rect.bottom};
    const skin::ProgressPicture p = skin::ProgressBarPicture(client, minimum_, maximum_, position_, theme_, scale_);
    FillSolid(dc, rect, p.background);
    Pen pen(::CreatePen(PS_INSIDEFRAME, scale_.Px(1), p.bar));
    {
        const int corner = skin::ProgressOutlineCorner(scale_);
        SelectGuard b(dc, ::GetStockObject(NULL_BRUSH));
        SelectGuard s(dc, pen.get());
        ::RoundRect(dc, p.outline.left, p.outline.top, p.outline.right, p.outline.bottom, corner, corner);
    }
    if (!p.filled) return;
    {
        const int corner = skin::ProgressFillCorner(scale_);
        Brush brush(::CreateSolidBrush(p.bar));
        SelectGuard b(dc, brush.get());
        SelectGuard s(dc, pen.get());
        ::RoundRect(dc, p.fill.left, p.fill.top, p.fill.right, p.fill.bottom, corner, corner);
    }
    if (!p.highlight) return;
    FillSolid(dc, ToRECT(p.highlightBand), p.highlightColour);
    FillSolid(dc, RECT{p.highlightBand.left, p.lineY, p.highlightBand.right, p.lineY + scale_.Px(1)}, p.lineColour);
}

RowTable<MessageRow<ProgressBar>> ProgressBar::Messages() {
    static constexpr MessageRow<ProgressBar> kRows[] = {
        {PBM_SETRANGE32, &ProgressBar::OnSetRange},
        {PBM_GETRANGE, &ProgressBar::OnGetRange},
        {PBM_SETPOS, &ProgressBar::OnSetPosition},
        {PBM_GETPOS, &ProgressBar::OnGetPosition},
    };
    return Table(kRows);
}

bool ProgressBar::OnSetRange(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = MAKELRESULT(minimum_, maximum_);
    SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    return true;
}

bool ProgressBar::OnGetRange(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (lParam) {
        PBRANGE* range = reinterpret_cast<PBRANGE*>(lParam);
        range->iLow = minimum_;
        range->iHigh = maximum_;
    }
    result = wParam ? minimum_ : maximum_;
    return true;
}

bool ProgressBar::OnSetPosition(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    result = position_;
    SetPosition(static_cast<int>(wParam));
    return true;
}

bool ProgressBar::OnGetPosition(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = position_;
    return true;
}

}  // namespace quorv::win
