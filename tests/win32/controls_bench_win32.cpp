// Benchmark of the drawn controls at the size of a large job: the themed
// list mirroring 100,000 paths and the result view holding the 11 MB of a
// 100,000-file run. Prints figures (best of three); never fails.
//
//   cmake/wine-run.sh build/win/tests/win32/controls_bench.exe   (with a display)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "skin/result_view_win32.h"
#include "tests/win32/controls_test_support_win32.h"

using namespace quorv::win;
using namespace quorv::win::test;

namespace {

double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&a);
    work();
    ::QueryPerformanceCounter(&b);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

double Best(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        if (prepare) prepare();
        best = std::min(best, Seconds(work));
    }
    return best;
}

void Report(const char* what, double seconds) { std::printf("  %-58s %8.3f s\n", what, seconds); }

}  // namespace

int main() {
    const int kCount = 100000;
    if (!RegisterResultView()) {
        std::printf("the result view class could not be registered\n");
        return 0;
    }
    TestDialog dialog;
    if (!dialog.CreateModeless(IDD_CONTROLS_TEST, nullptr)) {
        std::printf("the test dialog could not be created\n");
        return 0;
    }
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    Pump(50);

    std::vector<std::string> paths;
    std::string result;
    for (int i = 0; i < kCount; ++i) {
        const std::string n = std::to_string(100000 + i);
        paths.push_back("C:\\Users\\Photographer\\Pictures\\2024\\May\\holiday " + n + ".jpg");
        result += "\"" + paths.back() + "\"  has been changed to  \"C:\\Users\\Photographer\\Out\\" + n + ".jpg\"\r\n";
    }
    std::printf("themed list, %d paths:\n", kCount);
    ThemedList& list = dialog.files;
    Report("SetItems (fill with redraw off + horizontal extent)", Best(nullptr, [&] { list.SetItems(paths); }));
    Report("  of which measuring the extent", Best(nullptr, [&] { list.MeasureExtent(paths); }));
    Report("UpdateHorizontalExtent (texts read back from the list)", Best(nullptr, [&] { list.UpdateHorizontalExtent(); }));
    Report("paint", Best([&] { ::InvalidateRect(list.hwnd(), nullptr, TRUE); }, [&] { ::UpdateWindow(list.hwnd()); }));
    std::vector<bool> everyOther(kCount), all(kCount, true), none(kCount, false);
    for (int i = 0; i < kCount; i += 2) everyOther[static_cast<std::size_t>(i)] = true;
    Report("SetSelection, every other item (50,000 runs)", Best(nullptr, [&] { list.SetSelection(everyOther); }));
    Report("SetSelection, all (one run)", Best(nullptr, [&] { list.SetSelection(all); }));
    Report("SetSelection, none", Best(nullptr, [&] { list.SetSelection(none); }));
    list.SetSelection(everyOther);
    std::size_t selected = 0;
    Report("SelectedIndices of 50,000 selected", Best(nullptr, [&] { selected = list.SelectedIndices().size(); }));
    std::printf("  (read back %zu selected)\n", selected);

    HWND view = dialog.Item(IDC_TEST_RESULT);
    ResultView* object = ResultView::FromWindow(view);
    std::printf("result view, %d result lines, %.1f MB:\n", kCount, static_cast<double>(result.size()) / 1e6);
    Report("WM_SETTEXT (line index + wrapping every line)",
           Best([&] { ::SetWindowTextA(view, ""); }, [&] { ::SetWindowTextA(view, result.c_str()); }));
    Report("first paint", Best([&] { ::InvalidateRect(view, nullptr, FALSE); }, [&] { ::UpdateWindow(view); }));
    Report("WM_SETTEXT and first paint together", Best([&] { ::SetWindowTextA(view, ""); ::UpdateWindow(view); }, [&] {
               ::SetWindowTextA(view, result.c_str());
               ::UpdateWindow(view);
           }));
    Report("scroll to the end (SB_BOTTOM) and paint", Best([&] { ::SendMessageA(view, WM_VSCROLL, SB_TOP, 0); ::UpdateWindow(view); }, [&] {
               ::SendMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
               ::UpdateWindow(view);
           }));
    Report("Ctrl+End (caret to the end) and paint", Best([&] { ::SendMessageA(view, EM_SETSEL, 0, 0); ::UpdateWindow(view); }, [&] {
               ::SetFocus(view);
               PressKey(view, VK_END, false, true);
               ::UpdateWindow(view);
           }));
    std::string back;
    Report("WM_GETTEXT of the whole text", Best(nullptr, [&] {
               back.assign(static_cast<std::size_t>(::GetWindowTextLengthA(view)) + 1, '\0');
               back.resize(static_cast<std::size_t>(::GetWindowTextA(view, &back[0], static_cast<int>(back.size()))));
           }));
    RECT r{};
    ::GetWindowRect(view, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    bool narrow = false;
    Report("resize (wrapping every line again) and paint", Best(nullptr, [&] {
               narrow = !narrow;
               ::SetWindowPos(view, nullptr, 0, 0, narrow ? width / 2 : width, height, SWP_NOMOVE | SWP_NOZORDER);
               ::UpdateWindow(view);
           }));
    std::printf("  (%zu rows at full width, text read back %s)\n", object ? object->RowCount() : 0,
                back == result ? "identical" : "DIFFERENT");
    return 0;
}
