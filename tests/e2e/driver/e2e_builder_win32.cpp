#include "tests/e2e/driver/e2e_builder_win32.h"

#include <cstdint>

#include "app/resource.h"
#include "tests/e2e/driver/e2e_screen_win32.h"

namespace quorv::e2e {

namespace {

int ComboFor(BuilderStep::Kind kind) {
    switch (kind) {
    case BuilderStep::kTarget:
        return IDC_TARGET;
    case BuilderStep::kAction:
        return IDC_ACTION;
    case BuilderStep::kPickParameter:
    case BuilderStep::kTypeParameter:
        return IDC_PARAMETER;
    case BuilderStep::kPickValue:
    case BuilderStep::kTypeValue:
        return IDC_VALUE;
    }
    return 0;
}

}  // namespace

bool RunStep(const Program& program, const BuilderStep& step) {
    const Window combo = program.Control(ComboFor(step.kind));
    if (!combo) return false;
    const bool typing = step.kind == BuilderStep::kTypeParameter || step.kind == BuilderStep::kTypeValue;
    const bool done = typing ? combo.TypeComboText(step.text) : combo.PickComboItem(step.text);
    return done && program.Settle();
}

bool RunSteps(const Program& program, const std::vector<BuilderStep>& steps) {
    for (const BuilderStep& step : steps)
        if (!RunStep(program, step)) return false;
    return true;
}

BuilderView ReadBuilder(const Program& program) {
    const Window parameter = program.Control(IDC_PARAMETER);
    const Window value = program.Control(IDC_VALUE);
    BuilderView view;
    view.target = program.Control(IDC_TARGET).ComboText();
    view.action = program.Control(IDC_ACTION).ComboText();
    view.parameter = parameter.ComboText();
    view.parameterSelection = parameter.ComboSelection();
    view.label = program.Text(IDC_VALUE_LABEL);
    view.value = value.ComboText();
    view.valueEnabled = value.Enabled();
    view.actions = program.Control(IDC_ACTION).ComboItems();
    view.parameters = parameter.ComboItems();
    view.values = value.ComboItems();
    return view;
}

RECT BuilderFrameOnScreen(const Program& program) { return program.Control(IDC_BUILDER_FRAME).ScreenRect(); }

namespace {

struct DialogSearch {
    DWORD process;
    HWND main;
    bool found;
    std::vector<HWND>* all = nullptr;  // every one found, when asked for
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->process && window != search->main) {
        const std::string name = Window(window).ClassName();
        search->found = name == "#32770" || name == "#32768";
        if (search->all) {
            if (search->found) search->all->push_back(window);
            search->found = false;
        }
    }
    return !search->found;
}

}  // namespace

bool DialogOpen(const Program& program) {
    DialogSearch search{program.processId(), program.main().hwnd(), false};
    ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string DescribeDialogs(const Program& program) {
    std::vector<HWND> all;
    DialogSearch search{program.processId(), program.main().hwnd(), false, &all};
    ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    std::string description;
    for (HWND hwnd : all) {
        const Window window(hwnd);
        const MessageView view = ReadMessage(window);
        description += "\n  " + window.ClassName() + (window.Visible() ? "" : " (hidden)") + " \"" + view.caption +
                       "\": " + view.text;
        for (const std::string& button : view.buttons) description += " [" + button + "]";
    }
    return description.empty() ? "no dialog open" : "dialogs open:" + description;
}

namespace {

// A fingerprint of the pixels of an area of the screen.
std::uint64_t Fingerprint(const RECT& area) {
    const ScreenImage image(area);
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) hash = (hash ^ image.At(x, y)) * 1099511628211ull;
    return hash;
}

BOOL CALLBACK FindUnpainted(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && ::GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether a window or one of its visible descendants still waits to be
// painted (the painting of a busy program's thread can lag behind its
// message loop's idle moment: paint messages come last).
bool PaintPending(const Window& main) {
    bool found = ::GetUpdateRect(main.hwnd(), nullptr, FALSE) != FALSE;
    if (!found) ::EnumChildWindows(main.hwnd(), &FindUnpainted, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

bool SaveSettledScreenshot(const Window& main, const std::string& name, const RECT& area) {
    ::RedrawWindow(main.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    // Every window painted, then the picture still for a moment (drawing
    // that follows a paint, such as a caret or a player, settles too).
    WaitFor([&] { return !PaintPending(main); }, 5000, 20);
    std::uint64_t last = Fingerprint(area);
    int stillFor = 0;
    WaitFor(
        [&] {
            const std::uint64_t now = Fingerprint(area);
            stillFor = now == last && !PaintPending(main) ? stillFor + 1 : 0;
            last = now;
            return stillFor >= 2;
        },
        4000, 150);
    return Screenshot(name, area);
}

bool SaveSettledScreenshot(const Program& program, const std::string& name, const RECT& area) {
    ::RedrawWindow(program.main().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return program.Settle() && SaveSettledScreenshot(program.main(), name, area);
}

namespace {

// One argument as the C runtime reads it back: quoted, with the backslashes
// before a quote (and before the closing quote) doubled.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

int RunProcess(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs) {
    std::vector<std::wstring> wide;
    for (const std::string& argument : arguments) wide.push_back(Widen(argument));
    return RunProcess(program, wide, timeoutMs);
}

int RunProcess(const std::string& program, const std::vector<std::wstring>& arguments, int timeoutMs) {
    const std::wstring path = Widen(program);
    std::wstring command = Quoted(path);
    for (const std::wstring& argument : arguments) command += L" " + Quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(path.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info))
        return -1;
    ::CloseHandle(info.hThread);
    int code = -1;
    if (::WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        if (::GetExitCodeProcess(info.hProcess, &exit)) code = static_cast<int>(exit);
    } else {
        ::TerminateProcess(info.hProcess, 99);
    }
    ::CloseHandle(info.hProcess);
    return code;
}

}  // namespace quorv::e2e
