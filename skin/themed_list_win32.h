#pragma once
// The themed list box: a system list box of a dialog template (style
// LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, plus LBS_EXTENDEDSEL or not) to which
// this control attaches like every control (the control base's subclass) to
// draw its items in the theme's colours; and the mirror through which a
// window shows its model in it, fast at 100,000 entries (one fill with
// redraw off, storage reserved, one measuring pass for the horizontal
// extent, selections set in runs). Those bulk messages go straight to the
// list box's own procedure: through the subclass each one would cost a
// window-property lookup, under Wine a round trip to its server.
//
//   ThemedList files;                       // a member of the dialog
//   files.Attach(Item(IDC_FILE_LIST));      // in WM_INITDIALOG
//   files.SetTheme(theme);
//   files.SetItems(model.DisplayedPaths()); // after each command that changed them
//   files.SetSelection(model.Selection());
//   ... LBN_SELCHANGE: model.SetSelection(files.SelectedIndices());
//
// The dialog passes WM_DRAWITEM and WM_MEASUREITEM of the list on to it as
// kReflectBase + message (skin/dialog_win32.h); the list answers them. The
// dialog's WM_CTLCOLORLISTBOX answer for the list is BackgroundBrush(), and
// a list with LBS_WANTKEYBOARDINPUT needs WM_VKEYTOITEM answered with -1
// (the dialog's default 0 would move the list to its first item).
//
// Template style: LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
// LBS_NOINTEGRALHEIGHT | WS_VSCROLL, plus LBS_EXTENDEDSEL, LBS_WANTKEYBOARDINPUT
// and WS_HSCROLL as the list needs them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/raii_win32.h"
#include "skin/control_win32.h"
#include "view/theme.h"

namespace quorv::win {

class ThemedList : public Control<ThemedList> {
public:
    // Colours before SetTheme.
    static constexpr Colour kInitialBackground = 0xFFFFFF;
    static constexpr Colour kInitialSelectionFill = 0xC89664;
    static constexpr Colour kInitialSelectionFrame = 0xFADCB4;

    ThemedList() = default;

    // Attaches to the list box (leaving the list this object had) and sets
    // its item height from its font (the text height + 3). False when the
    // window is no list box or the subclass could not be set. A list is
    // attached to one object at a time (attaching it to another detaches it
    // from the first). Detach() and the window's destruction end it.
    bool Attach(HWND list);

    // Selection fill: colour 3 of the theme; selection frame: colour 4
    // lightened by 40. Repaints.
    void SetTheme(int theme);
    Colour Background() const { return background_; }
    Colour SelectionFill() const { return fill_; }
    Colour SelectionFrame() const { return frame_; }
    // A brush of the background colour, for the dialog's WM_CTLCOLORLISTBOX
    // answer, so that the area below the last item matches the items.
    HBRUSH BackgroundBrush();

    // A fixed item height (0: the text height of the font + 3).
    void SetItemHeight(int height);
    int ItemHeight() const;

    // ---- contents
    // Empties the list and forgets the remembered selection.
    void ResetContent();
    // Replaces the whole contents (redraw off, storage reserved, one string
    // each) and sets the horizontal extent from these texts. The remembered
    // selection is forgotten; nothing is selected.
    void SetItems(const std::vector<std::string>& texts);
    // The same from a model that hands out its texts by index (no copy of
    // a list of 100,000 paths on the way).
    using TextAt = std::function<const std::string&(std::size_t index)>;
    void SetItems(std::size_t count, const TextAt& text);
    void InsertItem(int index, const std::string& text);  // index -1: at the end
    void DeleteItem(int index);
    int Count() const;
    std::string Text(int index) const;

    // The widest text in the list's font + 10, 0 for an empty list.
    void UpdateHorizontalExtent();
    int HorizontalExtent() const;
    // The same measure for given texts (what SetItems uses).
    int MeasureExtent(const std::vector<std::string>& texts) const;
    int MeasureExtent(std::size_t count, const TextAt& text) const;

    // ---- selection (UI state: the window mirrors its model into it and
    // reads the user's choice back after LBN_SELCHANGE)
    // Selects exactly the items marked true (a shorter vector leaves the
    // rest unselected); a single-selection list selects the first marked
    // item. No LBN_SELCHANGE results.
    void SetSelection(const std::vector<bool>& selected);
    void SelectAll(bool select = true);
    // Single-selection lists: the selected item (-1: none).
    void SetCurrentSelection(int index);
    int CurrentSelection() const;
    // The item with the focus rectangle (-1 when empty).
    void SetCaretIndex(int index);
    int CaretIndex() const;
    void SetTopIndex(int index);
    int TopIndex() const;
    // The selected items in ascending order.
    std::vector<int> SelectedIndices() const;
    std::vector<bool> SelectionMask() const;
    // The current selection as remembered after the last left-button press
    // or key press (-1 after ResetContent / SetItems).
    int RememberedSelection() const { return remembered_; }

    // ---- drawing (the reflected messages call these; public for tests)
    void DrawItem(const DRAWITEMSTRUCT& item);
    void MeasureItem(MEASUREITEMSTRUCT& item) const;

private:
    friend class Control<ThemedList>;
    static RowTable<MessageRow<ThemedList>> Messages();
    void OnAttached();
    bool OnReflectedDrawItem(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnReflectedMeasureItem(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetFont(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_LBUTTONDOWN and WM_KEYDOWN: the list box's handling, then the selection it left.
    bool OnPress(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnResetContent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    LRESULT ToListBox(UINT message, WPARAM wParam, LPARAM lParam) const;
    std::wstring WideText(int index) const;
    HFONT ListFont() const;
    int TextHeight() const;
    void ApplyItemHeight();
    bool MultipleSelection() const;
    void Remember();

    WNDPROC listBox_ = nullptr;  // the list box's own procedure, below the subclass
    Colour background_ = kInitialBackground;
    Colour fill_ = kInitialSelectionFill;
    Colour frame_ = kInitialSelectionFrame;
    Brush backgroundBrush_;
    int fixedHeight_ = 0;
    int remembered_ = -1;
};

}  // namespace quorv::win
