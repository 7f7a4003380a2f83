#pragma once
// The result view: a window class of the program's own that behaves like a
// read-only multi-line edit box (wrapped CR LF text, vertical scroll bar,
// mouse and keyboard selection, Copy and Select All, the whole text through
// WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH) but lays out and draws only
// the rows on screen, so that the 11 MB of a 100,000-file run show at once.
//
// RegisterResultView() once before the main dialog is created; its
// template names the class:
//   CONTROL "", IDC_RESULT_LIST, "QuorvResultView",
//           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, x, y, w, h, WS_EX_CLIENTEDGE
// and the window sets its text with SetWindowTextA (WM_SETTEXT).
//
// Messages understood besides the window's own: WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH, WM_SETFONT, WM_GETFONT, WM_COPY, WM_PRINTCLIENT,
// EM_GETSEL, EM_SETSEL, EM_GETLINECOUNT, EM_GETFIRSTVISIBLELINE,
// EM_LINESCROLL, EM_SCROLLCARET, EM_SETREADONLY (always read-only).
// Colours: the parent's WM_CTLCOLORSTATIC answer (text colour and brush),
// as for a read-only edit box. Notifications: EN_SETFOCUS, EN_KILLFOCUS,
// EN_VSCROLL. Style ES_NOHIDESEL keeps the selection shown without focus.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/raii_win32.h"
#include "view/text_layout.h"

namespace quorv::win {

inline constexpr const char* kResultViewClass = "QuorvResultView";

// Registers the window class for the program (a global class of its own
// module); true when the class exists afterwards. Later calls do nothing.
bool RegisterResultView();

class ResultView {
public:
    // The object of a window of the class (null for other windows).
    static ResultView* FromWindow(HWND window);

    HWND hwnd() const { return hwnd_; }

    void SetText(std::string text);
    const std::string& Text() const { return layout_.Text(); }

    TextSelection Selection() const { return selection_; }
    // Offsets are snapped to character boundaries; the caret row is scrolled into view.
    void SetSelection(std::size_t anchor, std::size_t caret);
    void SelectAll();
    std::string SelectedText() const { return layout_.SelectedText(selection_); }
    // Puts the selected text on the clipboard (CF_TEXT); false when nothing
    // is selected or the clipboard cannot be opened.
    bool CopySelection();

    std::size_t RowCount() { return layout_.RowCount(); }
    TextRow Row(std::size_t row) { return layout_.Row(row); }
    std::size_t TopRow() const { return topRow_; }
    // Rows that fit entirely in the window (at least 1).
    std::size_t VisibleRows() const;
    void ScrollTo(std::size_t topRow);
    int LineHeight() const { return lineHeight_; }
    // Left margin of the text in pixels.
    static constexpr int kMargin = 2;

    // Draws the visible rows (WM_PAINT and WM_PRINTCLIENT).
    void PaintContent(HDC dc, const RECT& client);

private:
    friend bool RegisterResultView();
    explicit ResultView(HWND window);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void ApplyFont(HFONT font);
    void ApplyWidth();
    std::size_t MaxTopRow();
    void UpdateScrollBar();
    void Redraw();
    void UpdateCaret();
    void EnsureCaretVisible();
    // Moves the caret; extend keeps the anchor.
    void MoveCaret(std::size_t offset, bool extend, bool atRowEnd = false, bool keepColumn = false);
    void ScrollBy(long long rows);
    std::size_t CaretRow();
    // The offset under a client point, and whether it ends a soft-wrapped row.
    std::size_t HitTest(POINT point, bool& atRowEnd);
    bool SelectionShown() const;
    void Notify(WORD code);

    void OnKeyDown(WPARAM key);
    void OnVScroll(WORD code);
    void OnMouseWheel(int delta);
    void OnContextMenu(POINT screen);
    void DragTo(POINT client);

    HWND hwnd_;
    TextLayout layout_;
    HFONT font_ = nullptr;
    DcHandle measureDc_;
    std::optional<SelectGuard> measureFont_;
    int lineHeight_ = 16;
    std::optional<std::size_t> wideLength_;  // WM_GETTEXTLENGTH, kept until the text changes
    TextSelection selection_;
    bool caretAtRowEnd_ = false;
    int wantedX_ = -1;  // the column kept by up and down
    std::size_t topRow_ = 0;
    bool focused_ = false;
    bool dragging_ = false;
    int wheelRest_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

}  // namespace quorv::win
