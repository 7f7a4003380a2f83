#include "tests/e2e/driver/e2e_window_win32.h"

#include <shlobj.h>

#include <algorithm>

namespace quorv::e2e {

double Seconds() {
    LARGE_INTEGER frequency{}, counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// ---------------------------------------------------------------- messages

bool Window::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, int timeoutMs) const {
    DWORD_PTR answer = 0;
    if (!hwnd_) return false;
    const LRESULT ok = ::SendMessageTimeoutW(hwnd_, message, wParam, lParam, SMTO_NORMAL,
                                             static_cast<UINT>(timeoutMs), &answer);
    if (result) *result = static_cast<LRESULT>(answer);
    return ok != 0;
}

bool Window::SendNotify(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ && ::SendNotifyMessageW(hwnd_, message, wParam, lParam);
}

bool Window::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ && ::PostMessageW(hwnd_, message, wParam, lParam);
}

LRESULT Window::Ask(UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback) const {
    LRESULT result = 0;
    return Send(message, wParam, lParam, &result) ? result : fallback;
}

// ---------------------------------------------------------------- any window

std::string Window::Text() const {
    const LRESULT length = Ask(WM_GETTEXTLENGTH, 0, 0, 0);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied, kCommandTimeout))
        return std::string();
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return Narrow(text);
}

std::string Window::Caption() const {
    if (!hwnd_) return std::string();
    const int length = ::GetWindowTextLengthW(hwnd_);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd_, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return Narrow(text);
}

std::string Window::ClassName() const {
    char name[256] = {};
    if (hwnd_) ::GetClassNameA(hwnd_, name, static_cast<int>(sizeof name));
    return name;
}

int Window::Id() const { return hwnd_ ? ::GetDlgCtrlID(hwnd_) : 0; }

bool Window::Visible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

bool Window::Enabled() const { return hwnd_ && ::IsWindowEnabled(hwnd_); }

RECT Window::ScreenRect() const {
    RECT r{};
    if (hwnd_) ::GetWindowRect(hwnd_, &r);
    return r;
}

RECT Window::ClientRect() const {
    RECT r{};
    if (hwnd_) ::GetClientRect(hwnd_, &r);
    return r;
}

RECT Window::ClientOnScreen() const {
    RECT r = ClientRect();
    if (hwnd_) ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Window::RectIn(const Window& other) const {
    RECT r = ScreenRect();
    ::MapWindowPoints(nullptr, other.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Window::Centre() const {
    const RECT r = ScreenRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Window Window::Parent() const { return Window(hwnd_ ? ::GetParent(hwnd_) : nullptr); }

Window Window::Child(int id) const { return Window(hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr); }

std::vector<Window> Window::Children() const {
    std::vector<Window> children;
    if (!hwnd_) return children;
    for (HWND c = ::GetWindow(hwnd_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) children.emplace_back(c);
    return children;
}

Window Window::Descendant(const char* className) const {
    for (const Window& child : Children()) {
        if (::lstrcmpiA(child.ClassName().c_str(), className) == 0) return child;
        const Window below = child.Descendant(className);
        if (below) return below;
    }
    return Window();
}

Window Window::ChildWithText(const std::string& text, const char* className) const {
    for (const Window& child : Children()) {
        if (className && ::lstrcmpiA(child.ClassName().c_str(), className) != 0) continue;
        if (child.Text() == text) return child;
    }
    return Window();
}

DWORD Window::ProcessId() const {
    DWORD process = 0;
    if (hwnd_) ::GetWindowThreadProcessId(hwnd_, &process);
    return process;
}

DWORD Window::ThreadId() const { return hwnd_ ? ::GetWindowThreadProcessId(hwnd_, nullptr) : 0; }

// ---------------------------------------------------------------- buttons

bool Window::Click() const { return SendNotify(BM_CLICK, 0, 0); }

bool Window::Checked() const { return Ask(BM_GETCHECK, 0, 0, BST_UNCHECKED) == BST_CHECKED; }

// ---------------------------------------------------------------- list boxes

int Window::Count() const { return static_cast<int>(Ask(LB_GETCOUNT)); }

std::string Window::ItemText(int index) const {
    const LRESULT length = Ask(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, LB_ERR);
    if (length == LB_ERR || length < 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]), &copied) || copied < 0)
        return std::string();
    text.resize(static_cast<std::size_t>(std::min(copied, length)));
    return Narrow(text);
}

std::vector<std::string> Window::Items() const {
    std::vector<std::string> items;
    const int count = Count();
    for (int i = 0; i < count; ++i) items.push_back(ItemText(i));
    return items;
}

std::vector<int> Window::Selection() const {
    std::vector<int> selected;
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Ask(LB_GETSEL, static_cast<WPARAM>(i), 0, 0) > 0) selected.push_back(i);
    return selected;
}

int Window::Caret() const { return static_cast<int>(Ask(LB_GETCARETINDEX)); }

int Window::TopIndex() const { return static_cast<int>(Ask(LB_GETTOPINDEX)); }

int Window::ItemHeight() const { return static_cast<int>(Ask(LB_GETITEMHEIGHT)); }

int Window::HorizontalExtent() const { return static_cast<int>(Ask(LB_GETHORIZONTALEXTENT)); }

namespace {

bool MultipleSelection(HWND list) {
    return (::GetWindowLongPtrW(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

// Tells a control's owner what the control itself would tell it.
bool Notify(const Window& control, WORD code) {
    const Window owner = control.Parent();
    return owner.SendNotify(WM_COMMAND, MAKEWPARAM(control.Id(), code), reinterpret_cast<LPARAM>(control.hwnd()));
}

}  // namespace

bool Window::SelectItems(const std::vector<int>& items, int caret) const {
    if (!hwnd_) return false;
    if (!MultipleSelection(hwnd_)) return !items.empty() && ChooseItem(items.front());
    bool ok = Send(LB_SETSEL, FALSE, -1);
    for (int i : items) ok = Send(LB_SETSEL, TRUE, i) && ok;
    if (caret < 0 && !items.empty()) caret = items.back();
    if (caret >= 0) ok = Send(LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE) && ok;
    return Notify(*this, LBN_SELCHANGE) && ok;
}

bool Window::ChooseItem(int index) const {
    return Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0) && Notify(*this, LBN_SELCHANGE);
}

RECT Window::ItemScreenRect(int index) const {
    const RECT client = ClientOnScreen();
    const int height = ItemHeight();
    const int top = client.top + (index - TopIndex()) * height;
    return RECT{client.left, top, client.right, top + height};
}

// ---------------------------------------------------------------- combo boxes

std::vector<std::string> Window::ComboItems() const {
    std::vector<std::string> items;
    const LRESULT count = Ask(CB_GETCOUNT, 0, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Ask(CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, CB_ERR);
        if (length < 0) {
            items.emplace_back();
            continue;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        Send(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]), &copied);
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(Narrow(text));
    }
    return items;
}

int Window::ComboSelection() const { return static_cast<int>(Ask(CB_GETCURSEL)); }

std::string Window::ComboText() const {
    // Wine gives no text of another process's drop-down combo box itself:
    // its edit child has it.
    const Window edit(hwnd_ ? ::FindWindowExW(hwnd_, nullptr, L"Edit", nullptr) : nullptr);
    if (edit) return edit.Text();
    const int selected = ComboSelection();
    if (selected < 0) return std::string();
    const std::vector<std::string> items = ComboItems();
    return static_cast<std::size_t>(selected) < items.size() ? items[static_cast<std::size_t>(selected)]
                                                              : std::string();
}

bool Window::PickComboItem(int index) const {
    return Send(CB_SETCURSEL, static_cast<WPARAM>(index), 0) && Notify(*this, CBN_SELCHANGE);
}

bool Window::PickComboItem(const std::string& text) const {
    const std::vector<std::string> items = ComboItems();
    const auto found = std::find(items.begin(), items.end(), text);
    return found != items.end() && PickComboItem(static_cast<int>(found - items.begin()));
}

bool Window::TypeComboText(const std::string& text) const {
    const Window edit(hwnd_ ? ::FindWindowExW(hwnd_, nullptr, L"Edit", nullptr) : nullptr);
    return edit && edit.ReplaceText(text);
}

// ---------------------------------------------------------------- edit boxes

bool Window::ReplaceText(const std::string& text) const {
    if (!Send(EM_SETSEL, 0, -1)) return false;
    if (text.empty()) return Post(WM_CHAR, VK_BACK, 1);
    return TypeChars(text);
}

bool Window::TypeChars(const std::string& text) const {
    bool ok = true;
    for (wchar_t c : Widen(text)) ok = Post(WM_CHAR, c, 1) && ok;
    return ok;
}

// ---------------------------------------------------------------- top-level windows

namespace {

struct TopSearch {
    DWORD process;
    std::vector<Window> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process && ::IsWindowVisible(window)) search->found.emplace_back(window);
    return TRUE;
}

}  // namespace

std::vector<Window> TopWindowsOf(DWORD processId) {
    TopSearch search{processId, {}};
    ::EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// ---------------------------------------------------------------- input

namespace {

void Key(WORD virtualKey, bool up) {
    const BYTE scan = static_cast<BYTE>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    DWORD flags = up ? KEYEVENTF_KEYUP : 0;
    switch (virtualKey) {
    case VK_DELETE: case VK_INSERT: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        flags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    ::keybd_event(static_cast<BYTE>(virtualKey), scan, flags, 0);
}

void Modifiers(unsigned modifiers, bool up) {
    if (modifiers & kCtrl) Key(VK_CONTROL, up);
    if (modifiers & kShift) Key(VK_SHIFT, up);
    if (modifiers & kAlt) Key(VK_MENU, up);
}

}  // namespace

void KeyDown(WORD virtualKey) { Key(virtualKey, false); }

void KeyUp(WORD virtualKey) { Key(virtualKey, true); }

void KeyPress(WORD virtualKey, unsigned modifiers) {
    Modifiers(modifiers, false);
    Key(virtualKey, false);
    Key(virtualKey, true);
    Modifiers(modifiers, true);
}

void MouseClickAt(POINT screen, unsigned modifiers, bool doubleClick) {
    // As a hand does it: the pointer arrives, then the button goes down
    // and up again a moment later.
    ::SetCursorPos(screen.x, screen.y);
    ::mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    ::Sleep(30);
    Modifiers(modifiers, false);
    for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::Sleep(20);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        if (doubleClick) ::Sleep(20);
    }
    Modifiers(modifiers, true);
}

void MouseDrag(POINT from, POINT to, int steps) {
    ::SetCursorPos(from.x, from.y);
    ::Sleep(20);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    ::Sleep(30);
    for (int i = 1; i <= steps; ++i) {
        ::SetCursorPos(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        ::mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
        ::Sleep(15);
    }
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

bool FocusWindow(const Window& window) {
    if (!window) return false;
    const HWND top = ::GetAncestor(window.hwnd(), GA_ROOT);
    ::SetForegroundWindow(top);
    const DWORD self = ::GetCurrentThreadId();
    const DWORD target = window.ThreadId();
    const bool attached = target != self && ::AttachThreadInput(self, target, TRUE);
    ::SetFocus(window.hwnd());
    if (attached) ::AttachThreadInput(self, target, FALSE);
    return WaitFor([&] { return FocusOf(target) == window; }, 2000);
}

Window FocusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(threadId, &info)) return Window();
    return Window(info.hwndFocus);
}

// ---------------------------------------------------------------- message windows

MessageView ReadMessage(const Window& window) {
    MessageView view;
    view.window = window;
    view.caption = window.Caption();
    for (const Window& child : window.Children()) {
        const std::string name = child.ClassName();
        if (!child.Visible()) continue;
        const std::string text = child.Text();
        if (::lstrcmpiA(name.c_str(), "Static") == 0 && !text.empty()) {
            if (!view.text.empty()) view.text += "\n";
            view.text += text;
        } else if (::lstrcmpiA(name.c_str(), "Button") == 0 && !text.empty()) {
            view.buttons.push_back(text);
        }
    }
    return view;
}

bool MessageView::Press(const std::string& buttonText) const {
    for (const Window& child : window.Children()) {
        if (child.Visible() && ::lstrcmpiA(child.ClassName().c_str(), "Button") == 0 && child.Text() == buttonText)
            return child.Click();
    }
    return false;
}

// ---------------------------------------------------------------- file dialogs

namespace {

constexpr int kFileNameCombo = 0x047C;  // cmb13
constexpr int kFileNameEdit = 0x0480;   // edt1

}  // namespace

bool FileDialog::IsOne(const Window& window) {
    return window.ClassName() == "#32770" && (window.Child(kFileNameCombo) || window.Child(kFileNameEdit)) &&
           window.Child(IDOK);
}

Window FileDialog::FileNameBox() const {
    // Wine: a ComboBoxEx32 holding a combo box holding the edit.
    const Window combo = window_.Child(kFileNameCombo);
    if (combo) {
        const Window edit = combo.Descendant("Edit");
        if (edit) return edit;
    }
    return window_.Child(kFileNameEdit);
}

bool FileDialog::EnterName(const std::string& text) const {
    const Window box = FileNameBox();
    const std::wstring wide = Widen(text);
    return box && box.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str())) && box.Text() == text;
}

bool FileDialog::Ok() const { return window_.Child(IDOK).Click(); }

bool FileDialog::Cancel() const { return window_.Child(IDCANCEL).Click(); }

// ---------------------------------------------------------------- folder browser

bool FolderBrowser::IsOne(const Window& window) {
    return window.ClassName() == "#32770" && ::FindWindowExW(window.hwnd(), nullptr, L"SysTreeView32", nullptr);
}

std::string FolderBrowser::Status() const { return StatusLine().Text(); }

Window FolderBrowser::StatusLine() const {
    // The status line's id in the browser's dialog template. The title above
    // it holds a path too (the program's folder), so no other text will do.
    return window_.Child(0x3743);
}

bool FolderBrowser::Ok() const { return window_.Child(IDOK).Click(); }

bool FolderBrowser::Cancel() const { return window_.Child(IDCANCEL).Click(); }

}  // namespace quorv::e2e
