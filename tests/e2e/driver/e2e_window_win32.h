#pragma once
// Windows of another process, driven as a user would drive them: reading
// texts, states and rectangles, clicking buttons, choosing list and combo
// box entries (and telling the owner, as the control itself would), typing,
// and global key and mouse input.
//
// Every message to the other process carries a time limit, so that a
// program that stopped answering fails a case instead of hanging it. Texts
// travel as UTF-16 (SendMessageW: Wine hands list box texts across
// processes as UTF-16 even to SendMessageA) and are converted to the ANSI
// code page here.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/files_win32.h"
#include "tests/support/messages_win32.h"

namespace quorv::e2e {

// Waiting (this thread's messages dispatched meanwhile) and text between
// UTF-16 and the ANSI code page come from the test support library.
using test::Narrow;
using test::WaitFor;
using test::Widen;

// Time limits in milliseconds.
inline constexpr int kAnswerTimeout = test::kWaitTimeout;  // a message to a window that should be idle
inline constexpr int kCommandTimeout = 60000;  // a command that may run for a while

// Seconds on a monotonic clock.
double Seconds();

class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : hwnd_(hwnd) {}

    HWND hwnd() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr && ::IsWindow(hwnd_); }
    bool operator==(const Window& other) const { return hwnd_ == other.hwnd_; }
    bool operator!=(const Window& other) const { return hwnd_ != other.hwnd_; }

    // ---- messages with a time limit (false: no answer in time)
    bool Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
              int timeoutMs = kAnswerTimeout) const;
    // Queued as a sent message without waiting for it to be handled.
    bool SendNotify(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The message's value, or fallback when it got no answer.
    LRESULT Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT fallback = -1) const;

    // ---- what any window has
    std::string Text() const;  // WM_GETTEXT: waits for the window's thread
    // The caption the system keeps for the window, read without a message
    // (so also while the window's thread is busy).
    std::string Caption() const;
    std::string ClassName() const;
    int Id() const;
    bool Visible() const;
    bool Enabled() const;
    RECT ScreenRect() const;   // GetWindowRect
    RECT ClientRect() const;   // GetClientRect: (0, 0, width, height)
    RECT ClientOnScreen() const;
    // A rectangle of this window relative to another window's client area.
    RECT RectIn(const Window& other) const;
    POINT Centre() const;      // of the window, on the screen
    Window Parent() const;
    Window Child(int id) const;
    std::vector<Window> Children() const;  // direct children, in z-order
    // The first window of this class among all descendants (depth first).
    Window Descendant(const char* className) const;
    // The first child with this text (and class, when given); none: empty.
    Window ChildWithText(const std::string& text, const char* className = nullptr) const;
    DWORD ProcessId() const;
    DWORD ThreadId() const;

    // ---- buttons and check boxes
    // BM_CLICK, handled as the button handles a click; returns at once (a
    // click may open a modal window).
    bool Click() const;
    bool Checked() const;  // BM_GETCHECK

    // ---- list boxes
    int Count() const;
    std::string ItemText(int index) const;
    std::vector<std::string> Items() const;
    std::vector<int> Selection() const;  // selected items, ascending (any list style)
    int Caret() const;                   // the item with the focus rectangle
    int TopIndex() const;
    int ItemHeight() const;
    int HorizontalExtent() const;
    // Selects exactly these items, puts the focus rectangle on caret (-1: the
    // last of them) and tells the owner LBN_SELCHANGE, as a click would.
    bool SelectItems(const std::vector<int>& items, int caret = -1) const;
    // A single-selection list: selects the item and tells the owner.
    bool ChooseItem(int index) const;
    // The item's rectangle on the screen (its row in the visible part).
    RECT ItemScreenRect(int index) const;

    // ---- combo boxes
    std::vector<std::string> ComboItems() const;
    int ComboSelection() const;
    std::string ComboText() const;  // the edit's text, or the selected entry
    // Selects the entry and tells the owner CBN_SELCHANGE.
    bool PickComboItem(int index) const;
    bool PickComboItem(const std::string& text) const;
    // Replaces the edit's text by typing (CBN_EDITCHANGE per character).
    bool TypeComboText(const std::string& text) const;

    // ---- edit boxes: selects the whole text, then types the characters
    // (posted WM_CHAR each, as the keyboard would deliver them). Empty text:
    // deletes the selection with a backspace.
    bool ReplaceText(const std::string& text) const;
    bool TypeChars(const std::string& text) const;

private:
    HWND hwnd_ = nullptr;
};

// The visible top-level windows of a process, in z-order.
std::vector<Window> TopWindowsOf(DWORD processId);

// ---- global input (goes to the foreground window's thread)
enum Modifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };
void KeyPress(WORD virtualKey, unsigned modifiers = kNoModifier);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
// A left click (or double click) at a point of the screen.
void MouseClickAt(POINT screen, unsigned modifiers = kNoModifier, bool doubleClick = false);
// Left button down at one point, moved in steps, released at the other.
void MouseDrag(POINT from, POINT to, int steps = 8);

// Makes the window's top-level window the foreground window and gives the
// window the keyboard focus (through the window thread's input state).
bool FocusWindow(const Window& window);
// The focus window of a thread (none: empty).
Window FocusOf(DWORD threadId);

// ---- dialogs of the program and of the system

// A message window: the program's own (caption "Message" or "Please
// select") or the system's message box.
struct MessageView {
    Window window;
    std::string caption;
    std::string text;                  // the texts of its static controls, joined by newlines
    std::vector<std::string> buttons;  // visible buttons with a text
    // Clicks the visible button with this text ("&OK", "&Yes", "&No", "OK").
    bool Press(const std::string& buttonText) const;
};
MessageView ReadMessage(const Window& window);

// The system's open and save dialogs (explorer style).
class FileDialog {
public:
    explicit FileDialog(Window window) : window_(window) {}
    static bool IsOne(const Window& window);
    const Window& window() const { return window_; }
    // Types a full path (or several quoted names) into the file name box.
    bool EnterName(const std::string& text) const;
    bool Ok() const;
    bool Cancel() const;

private:
    Window FileNameBox() const;
    Window window_;
};

// The system's folder browser. Under Wine it has no edit box, and
// BFFM_SETSELECTION from another process (the path written into the
// browser's memory) changes nothing: a case sets the program's last folder,
// on which the browser opens, and presses OK.
class FolderBrowser {
public:
    explicit FolderBrowser(Window window) : window_(window) {}
    static bool IsOne(const Window& window);
    const Window& window() const { return window_; }
    // The status text the program writes (the selected folder's path).
    std::string Status() const;
    Window StatusLine() const;
    bool Ok() const;
    bool Cancel() const;

private:
    Window window_;
};

}  // namespace quorv::e2e
