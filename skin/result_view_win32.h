#pragma once
// The result view: a control of the program's own that behaves like a
// read-only multi-line edit box (wrapped CR LF text, vertical scroll bar,
// mouse and keyboard selection, Copy and Select All, the whole text through
// WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH) but lays out and draws only
// the rows on screen, so that the 11 MB of a 100,000-file run show at once.
//
// The dialog template creates the window from the class name, which
// RegisterResultView() registers once (the system's default procedure);
// the dialog's object then attaches to it like to any other control:
//   CONTROL "", IDC_RESULT_LIST, "QuorvResultView",
//           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, x, y, w, h, WS_EX_CLIENTEDGE
//   ResultView result;                       // a member of the dialog
//   result.Attach(Item(IDC_RESULT_LIST));    // in WM_INITDIALOG
// The font the dialog manager sent before the attach is lost with the
// default procedure: attaching takes the parent dialog's font instead.
//
// Messages understood besides the window's own: WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH (wide: any name a result line holds reaches other
// programs whole), WM_SETFONT, WM_GETFONT, WM_COPY, WM_PRINTCLIENT,
// EM_GETSEL, EM_SETSEL, EM_GETLINECOUNT, EM_GETFIRSTVISIBLELINE,
// EM_LINESCROLL, EM_SCROLLCARET, EM_SETREADONLY (always read-only).
// Colours: the parent's WM_CTLCOLORSTATIC answer (text colour and brush),
// as for a read-only edit box. Notifications: EN_SETFOCUS, EN_KILLFOCUS,
// EN_VSCROLL. Style ES_NOHIDESEL keeps the selection shown without focus.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/raii_win32.h"
#include "skin/control_win32.h"
#include "view/text_layout.h"

namespace quorv::win {

inline constexpr const wchar_t* kResultViewClass = L"QuorvResultView";

// Registers the window class for the program (a global class of its own
// module, so that a dialog template of any module finds it); true when the
// class exists afterwards. Later calls do nothing.
bool RegisterResultView();

class ResultView : public Control<ResultView> {
public:
    ResultView();

    void SetText(std::string text);
    const std::string& Text() const { return layout_.Text(); }

    TextSelection Selection() const { return selection_; }
    // Offsets are snapped to character boundaries; the caret row is scrolled into view.
    void SetSelection(std::size_t anchor, std::size_t caret);
    void SelectAll();
    std::string SelectedText() const { return layout_.SelectedText(selection_); }
    // Puts the selected text on the clipboard (CF_UNICODETEXT); false when
    // nothing is selected or the clipboard cannot be opened.
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

    // Draws the visible rows (the control base serves WM_PAINT and
    // WM_PRINTCLIENT with it).
    void PaintContent(HDC dc, const RECT& client) const;

private:
    friend class Control<ResultView>;
    static RowTable<MessageRow<ResultView>> Messages();
    void OnAttached();

    // ---- messages
    bool OnSize(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetTextLength(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetFont(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetFont(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnEnable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnChar(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonDblClk(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTimer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnVScroll(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnContextMenu(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCopy(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetSel(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetSel(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetLineCount(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetFirstVisibleLine(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLineScroll(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnScrollCaret(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetReadOnly(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // ---- layout, scrolling, caret
    void ApplyFont(HFONT font);
    void ApplyWidth();
    // Lays out again at the window's width, the first visible character kept at the top.
    void Relayout();
    std::size_t MaxTopRow();
    void UpdateScrollBar();
    void ShowCaret();
    void UpdateCaret();
    void EnsureCaretVisible();
    // Moves the caret; extend keeps the anchor.
    void MoveCaret(std::size_t offset, bool extend, bool atRowEnd = false, bool keepColumn = false);
    // Up, down, page up and page down: the caret keeps its column.
    void MoveCaretByRows(WPARAM key, bool extend);
    void ScrollBy(long long rows);
    std::size_t CaretRow();
    // The offset under a client point, and whether it ends a soft-wrapped row.
    std::size_t HitTest(POINT point, bool& atRowEnd);
    void DragTo(POINT client);
    bool SelectionShown() const;
    void Notify(WORD code);
    void PaintRow(HDC dc, const TextRow& row, POINT origin, int right, COLORREF textColour) const;

    // Rows are laid out on demand, painting (const) included: the layout
    // keeps what it measured.
    mutable TextLayout layout_;
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
