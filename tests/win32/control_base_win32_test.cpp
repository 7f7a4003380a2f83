// The control base through real windows: a probe control over a window of
// our own class and one over a subclassed system static, each attached,
// routed, painted, detached and made to throw.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "formats/error_log.h"
#include "skin/control_win32.h"
#include "skin/paint_win32.h"
#include "system/system_access.h"

namespace quorv::win {
namespace {

constexpr const wchar_t* kProbeClass = L"QuorvControlBaseProbe";
constexpr UINT kPing = WM_APP + 1;  // a row answers 42 + wParam
constexpr COLORREF kPainted = RGB(12, 34, 56);

// Kind 0 sits on a window of our own class, kind 1 on a system static;
// being two classes, neither finds the other's object.
template <int Kind>
class Probe : public Control<Probe<Kind>> {
public:
    using Other = Probe<1 - Kind>;

    HWND Create(HWND parent) {
        const wchar_t* className = Kind == 0 ? kProbeClass : L"STATIC";
        return this->CreateChild(parent, className, L"probe", WS_CHILD | WS_VISIBLE, RECT{0, 0, 40, 20});
    }
    void PaintContent(HDC dc, const RECT& rect) const { FillSolid(dc, rect, kPainted); }

    UINT seen = 0;           // the last message a row received
    bool throwing = false;   // the WM_GETTEXTLENGTH row throws
    int detachedCalls = 0;

private:
    friend class Control<Probe<Kind>>;
    static RowTable<MessageRow<Probe>> Messages() {
        static constexpr MessageRow<Probe> kRows[] = {
            {kPing, &Probe::OnPing},
            {WM_GETTEXTLENGTH, &Probe::OnTextLength},
        };
        return Table(kRows);
    }
    bool OnPing(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        seen = message;
        result = 42 + static_cast<LRESULT>(wParam);
        return true;
    }
    // Declines (the default procedure answers), or throws.
    bool OnTextLength(UINT message, WPARAM, LPARAM, LRESULT&) {
        seen = message;
        if (throwing) throw std::runtime_error("probe");
        return false;
    }
    void OnDetached() { ++detachedCalls; }
};

// A hidden top-level window to hold the probes.
struct Parent {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ~Parent() { ::DestroyWindow(window); }
};

template <class P>
class ControlBase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterControlClass(kProbeClass));
        ASSERT_TRUE(RegisterControlClass(kProbeClass));  // once per process, asked twice
        ASSERT_NE(parent.window, nullptr);
        ASSERT_NE(probe.Create(parent.window), nullptr);
    }
    Parent parent;
    P probe;
};
using Probes = ::testing::Types<Probe<0>, Probe<1>>;
TYPED_TEST_SUITE(ControlBase, Probes);

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TYPED_TEST(ControlBase, AttachedOnceAndFoundOnlyAsItsOwnClass) {
    HWND window = this->probe.hwnd();
    EXPECT_EQ(TypeParam::FromWindow(window), &this->probe);
    EXPECT_EQ(TypeParam::Other::FromWindow(window), nullptr);
    EXPECT_EQ(TypeParam::FromWindow(this->parent.window), nullptr);
    EXPECT_EQ(TypeParam::FromWindow(nullptr), nullptr);
    TypeParam other;
    EXPECT_FALSE(other.Attach(window));                      // taken by another object
    EXPECT_FALSE(this->probe.Attach(this->parent.window));   // this one has its window
    EXPECT_EQ(other.hwnd(), nullptr);
    EXPECT_EQ(TypeParam::FromWindow(window), &this->probe);
}

TYPED_TEST(ControlBase, RowsAnswerAndTheRestGoesDownTheChain) {
    HWND window = this->probe.hwnd();
    EXPECT_EQ(::SendMessageW(window, kPing, 8, 0), 50);
    EXPECT_EQ(this->probe.seen, kPing);
    // A declining row and a message without one: the window's own procedure.
    EXPECT_EQ(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(this->probe.seen, static_cast<UINT>(WM_GETTEXTLENGTH));
    wchar_t text[16] = {};
    EXPECT_EQ(::SendMessageW(window, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"probe");
}

TYPED_TEST(ControlBase, PaintContentServesPrintingAndNothingIsErased) {
    HWND window = this->probe.hwnd();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 40, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    DcHandle dc(::CreateCompatibleDC(nullptr));
    Bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard keep(dc.get(), bitmap.get());
    FillSolid(dc.get(), RECT{0, 0, 40, 20}, RGB(255, 0, 255));
    EXPECT_EQ(::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT), 0);
    ::GdiFlush();
    for (const POINT p : {POINT{0, 0}, POINT{39, 19}, POINT{20, 10}}) {
        EXPECT_EQ(::GetPixel(dc.get(), p.x, p.y), kPainted) << p.x << "," << p.y;
    }
    EXPECT_EQ(::SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 1);
    EXPECT_EQ(::GetPixel(dc.get(), 20, 10), kPainted);
}

TYPED_TEST(ControlBase, DetachedWhenDestroyedOrAsked) {
    HWND window = this->probe.hwnd();
    ASSERT_TRUE(::DestroyWindow(window));
    EXPECT_EQ(this->probe.hwnd(), nullptr);
    EXPECT_EQ(this->probe.detachedCalls, 1);
    // Detach: the window goes on alone, the object hears nothing more.
    TypeParam second;
    ASSERT_NE(second.Create(this->parent.window), nullptr);
    window = second.hwnd();
    second.Detach();
    EXPECT_EQ(second.hwnd(), nullptr);
    EXPECT_EQ(TypeParam::FromWindow(window), nullptr);
    EXPECT_EQ(::SendMessageW(window, kPing, 8, 0), 0);
    EXPECT_EQ(second.seen, 0u);
    EXPECT_EQ(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_TRUE(second.Attach(window));  // free again
    ::DestroyWindow(window);
    EXPECT_EQ(second.detachedCalls, 1);
}

TYPED_TEST(ControlBase, AThrowingHandlerIsContainedAndLogged) {
    const std::string log = ErrorLogFolder() + kErrorLogName;
    const std::string before = FileText(log);
    this->probe.throwing = true;
    // The window's own procedure answers instead, and the program goes on.
    EXPECT_EQ(::SendMessageW(this->probe.hwnd(), WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(this->probe.seen, static_cast<UINT>(WM_GETTEXTLENGTH));
    EXPECT_EQ(::SendMessageW(this->probe.hwnd(), kPing, 1, 0), 43);
    // A line more (or the first line of a log emptied for its size).
    const std::string after = FileText(log);
    const bool appended = after.compare(0, before.size(), before) == 0;
    const std::string added = appended ? after.substr(before.size()) : after;
    EXPECT_NE(added.find("window message 0xe.\r\n"), std::string::npos) << log << ": " << added;
}

}  // namespace
}  // namespace quorv::win
