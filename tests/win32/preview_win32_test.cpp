// The quick preview pane in a real window: pictures decoded by the system
// and fitted into the pane (checked by pixels), absent players leaving the
// pane empty, the file released for a rename, the pane switched off and on.
// Pictures come from make-preview-pictures.sh (ImageMagick) and from BMP
// files written here.
#include "tools/quick_preview_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/messages_win32.h"
#include "tests/support/pixels_win32.h"
#include "tests/support/screenshot_win32.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/fake_player_control.h"

namespace quorv::win {
namespace {

using quorv::test::Pixels;
using quorv::test::Printed;
using quorv::test::Pump;
using quorv::test::ScreenImage;
using quorv::test::Screenshot;

const COLORREF kBackground = RGB(40, 40, 40);
// The frame of the pane in the test window: the pane is 232 x 170 pixels.
const RECT kFrame{10, 10, 250, 200};
constexpr int kPaneWidth = 232;
constexpr int kPaneHeight = 170;

std::string PictureDir() {
    const char* dir = std::getenv("QUORV_PREVIEW_DIR");
    if (dir == nullptr || *dir == '\0') return {};
    std::string path = dir;
    for (char& c : path)
        if (c == '/') c = '\\';
    if (path[0] == '\\') path = "Z:" + path;
    if (path.back() != '\\') path += '\\';
    return path;
}

#define REQUIRE_PICTURES()                                                                   \
    do {                                                                                     \
        if (PictureDir().empty()) GTEST_SKIP() << "QUORV_PREVIEW_DIR not set";               \
    } while (0)

// A 24-bit BMP file: the left half in one colour, the right half in another.
std::string TwoColourBmp(int width, int height, COLORREF left, COLORREF right) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t pixels = static_cast<std::uint32_t>(stride * height);
    std::string b;
    auto u16 = [&b](std::uint32_t v) { b += static_cast<char>(v & 0xFF); b += static_cast<char>((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    b += "BM";
    u32(54 + pixels);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));
    u16(1);
    u16(24);
    u32(0);
    u32(pixels);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = x < width / 2 ? left : right;
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        b += row;
    }
    return b;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 48) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

struct Probe {
    int x, y;
    COLORREF expected;
};

void ExpectPixels(const Pixels& p, const std::vector<Probe>& probes, const char* what) {
    ASSERT_EQ(p.width(), kPaneWidth) << what;
    ASSERT_EQ(p.height(), kPaneHeight) << what;
    for (const Probe& probe : probes) {
        const COLORREF got = p.At(probe.x, probe.y);
        EXPECT_TRUE(Near(got, probe.expected))
            << what << " at (" << probe.x << "," << probe.y << "): " << Hex(got) << ", expected " << Hex(probe.expected);
    }
}

bool AllBackground(const Pixels& p) {
    for (std::uint32_t v : p.bits())
        if (RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) != kBackground) return false;
    return !p.bits().empty();
}

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r{};
        ::GetClientRect(window, &r);
        Brush face(::CreateSolidBrush(RGB(200, 200, 220)));
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, face.get());
        return 1;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

class PreviewPane : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = ParentProcedure;
            c.hInstance = ::GetModuleHandleA(nullptr);
            c.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
            c.lpszClassName = "QuorvPreviewTestParent";
            return ::RegisterClassA(&c) != 0;
        }();
        ASSERT_TRUE(registered);
        parent_.reset(::CreateWindowExA(0, "QuorvPreviewTestParent", "Quick preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, 300, 260, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(parent_);
        // The "QuickView" frame the pane lies in, as in the main window.
        ::CreateWindowExA(0, "BUTTON", "QuickView", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, kFrame.left, kFrame.top,
                          kFrame.right - kFrame.left, kFrame.bottom - kFrame.top, parent_.get(), nullptr,
                          ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(preview_.Create(parent_.get(), kFrame, true));
        preview_.SetBackground(kBackground);
        ::SetWindowPos(parent_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        Pump();
    }
    void TearDown() override { Pump(); }

    Pixels Shown() {
        ::InvalidateRect(preview_.hwnd(), nullptr, FALSE);
        ::UpdateWindow(preview_.hwnd());
        Pump();
        return Printed(preview_.hwnd(), {RGB(0, 0, 0), false});
    }
    Pixels OnScreen() {
        ::RedrawWindow(parent_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        return ScreenImage(preview_.hwnd());
    }

    QuickPreview preview_;  // destroyed after the parent window: its pane is gone by then
    WindowHandle parent_;
    test::TempDir temp_;
};

TEST_F(PreviewPane, PaneLiesInsideItsFrame) {
    RECT r{};
    ::GetWindowRect(preview_.hwnd(), &r);
    ::MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 14);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 246);
    EXPECT_EQ(r.bottom, 196);
    EXPECT_EQ(::GetDlgCtrlID(preview_.hwnd()), 0xFFFF);
    preview_.Place(RECT{20, 20, 120, 100});
    ::GetWindowRect(preview_.hwnd(), &r);
    ::MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 24);
    EXPECT_EQ(r.top, 36);
    EXPECT_EQ(r.right, 116);
    EXPECT_EQ(r.bottom, 96);
}

TEST_F(PreviewPane, LandscapePictureFillsTheWidthCentredVertically) {
    REQUIRE_PICTURES();
    // 600 x 300: red above, blue below. Drawn 232 x 116 from row 27.
    EXPECT_EQ(preview_.ShowFile(PictureDir() + "landscape.jpg"), PreviewKind::Picture);
    EXPECT_EQ(preview_.Showing(), PreviewKind::Picture);
    const std::vector<Probe> probes = {
        {116, 10, kBackground}, {116, 24, kBackground},       {116, 50, RGB(208, 0, 0)}, {3, 50, RGB(208, 0, 0)},
        {228, 50, RGB(208, 0, 0)}, {116, 120, RGB(0, 0, 208)}, {116, 146, kBackground}, {116, 165, kBackground},
    };
    ExpectPixels(Shown(), probes, "landscape");
    ExpectPixels(OnScreen(), probes, "landscape on screen");
    Screenshot("preview_landscape");
}

TEST_F(PreviewPane, PortraitPictureFillsTheHeightCentredHorizontally) {
    REQUIRE_PICTURES();
    // 150 x 300: green above, yellow below. Drawn 85 x 170 from column 73.
    // The file name's letter case does not matter.
    EXPECT_EQ(preview_.ShowFile(PictureDir() + "Portrait.JPG"), PreviewKind::Picture);
    const std::vector<Probe> probes = {
        {30, 85, kBackground},    {70, 85, kBackground},   {115, 3, RGB(0, 160, 0)}, {115, 60, RGB(0, 160, 0)},
        {115, 130, RGB(208, 208, 0)}, {78, 130, RGB(208, 208, 0)}, {161, 85, kBackground}, {200, 85, kBackground},
    };
    ExpectPixels(Shown(), probes, "portrait");
    ExpectPixels(OnScreen(), probes, "portrait on screen");
    Screenshot("preview_portrait");
}

TEST_F(PreviewPane, SmallPictureIsNeverEnlarged) {
    // 40 x 20, magenta left, cyan right: drawn at its own size from (96, 75).
    const std::string path = temp_.WriteFile("small.bmp", TwoColourBmp(40, 20, RGB(255, 0, 255), RGB(0, 255, 255)));
    EXPECT_EQ(preview_.ShowFile(path), PreviewKind::Picture);
    ExpectPixels(Shown(),
                 {{100, 85, RGB(255, 0, 255)},
                  {113, 78, RGB(255, 0, 255)},
                  {118, 92, RGB(0, 255, 255)},
                  {133, 85, RGB(0, 255, 255)},
                  {93, 85, kBackground},
                  {138, 85, kBackground},
                  {116, 72, kBackground},
                  {116, 97, kBackground}},
                 "small bitmap");
}

TEST_F(PreviewPane, BrokenOrMissingPictureLeavesThePaneEmpty) {
    const std::string broken = temp_.WriteFile("broken.jpg", "this is no picture at all");
    EXPECT_EQ(preview_.ShowFile(broken), PreviewKind::Picture);
    EXPECT_EQ(preview_.Showing(), PreviewKind::None);
    EXPECT_TRUE(AllBackground(Shown()));
    EXPECT_EQ(preview_.ShowFile(temp_.Child("missing.gif")), PreviewKind::Picture);
    EXPECT_EQ(preview_.Showing(), PreviewKind::None);
    EXPECT_EQ(preview_.ShowFile(temp_.WriteFile("empty.bmp", "")), PreviewKind::Picture);
    EXPECT_EQ(preview_.Showing(), PreviewKind::None);
}

TEST_F(PreviewPane, AbsentPlayersLeaveThePaneEmpty) {
    // A picture first: the next preview must clear it.
    const std::string picture = temp_.WriteFile("p.bmp", TwoColourBmp(8, 8, RGB(255, 0, 0), RGB(255, 0, 0)));
    preview_.ShowFile(picture);
    ASSERT_EQ(preview_.Showing(), PreviewKind::Picture);

    // RIFF/WAVE header of a short silent sound; no media player control is installed.
    std::string wav = "RIFF";
    wav += std::string("\x24\x08\x00\x00" "WAVE" "fmt " "\x10\x00\x00\x00" "\x01\x00\x01\x00"
                       "\x44\xAC\x00\x00" "\x88\x58\x01\x00" "\x02\x00\x10\x00" "data" "\x00\x08\x00\x00",
                       40);
    wav += std::string(2048, '\0');
    const std::pair<std::string, PreviewKind> files[] = {
        {temp_.WriteFile("song.wav", wav), PreviewKind::MediaPlayer},
        {temp_.WriteFile("song.MP3", "ID3"), PreviewKind::MediaPlayer},
        {temp_.WriteFile("film.rm", ".RMF"), PreviewKind::RealPlayer},
        {temp_.WriteFile("movie.swf", "FWS"), PreviewKind::Flash},
        {temp_.WriteFile("notes", "plain"), PreviewKind::None},
    };
    for (const auto& f : files) {
        EXPECT_EQ(preview_.ShowFile(f.first), f.second) << f.first;
        EXPECT_EQ(preview_.Showing(), PreviewKind::None) << f.first;
        EXPECT_EQ(::GetWindow(preview_.hwnd(), GW_CHILD), nullptr) << f.first;  // no host window left behind
        EXPECT_TRUE(AllBackground(Shown())) << f.first;
    }
    preview_.StopPreviews();  // nothing to stop: no harm
    EXPECT_TRUE(::IsWindow(preview_.hwnd()));
}

// ---------------------------------------------------------------- players

using test::FakePlayers;
using test::PlayerCall;

PlayerCall Put(DISPID id, bool flag) { return PlayerCall{id, DISPATCH_PROPERTYPUT, VT_BOOL, L"", flag}; }
PlayerCall PutText(DISPID id, const std::string& text) {
    return PlayerCall{id, DISPATCH_PROPERTYPUT, VT_BSTR, std::wstring(text.begin(), text.end()), false};
}
PlayerCall Method(DISPID id) { return PlayerCall{id, DISPATCH_METHOD, VT_EMPTY, L"", false}; }
PlayerCall Get(DISPID id) { return PlayerCall{id, DISPATCH_PROPERTYGET, VT_EMPTY, L"", false}; }

std::string Describe(const std::vector<PlayerCall>& calls) {
    std::string text;
    for (const PlayerCall& c : calls) {
        text += "\n  " + std::to_string(c.id) + (c.kind == DISPATCH_METHOD ? " call" : c.kind == DISPATCH_PROPERTYGET ? " get" : " put");
        if (c.type == VT_BOOL) text += c.flag ? " true" : " false";
        if (c.type == VT_BSTR) text += " \"" + std::string(c.text.begin(), c.text.end()) + "\"";
    }
    return text;
}

// Takes the calls made so far.
std::vector<PlayerCall> TakeCalls() {
    std::vector<PlayerCall> calls;
    calls.swap(FakePlayers().calls);
    return calls;
}

// A stand-in control (registered for this process) in place of the players:
// the calls each preview makes, with their identifiers, kinds and arguments.
class PreviewPlayers : public PreviewPane {
protected:
    void SetUp() override {
        PreviewPane::SetUp();
        if (HasFatalFailure()) return;
        // OLE is running now (the pane started it).
        registration_ = std::make_unique<test::FakePlayerRegistration>();
        ASSERT_TRUE(registration_->ok());
        FakePlayers() = test::FakePlayerLog{};
        for (PreviewKind kind : {PreviewKind::MediaPlayer, PreviewKind::RealPlayer, PreviewKind::Flash})
            preview_.SetPlayerClass(kind, test::kFakePlayerClsid);
    }
    // The player host inside the pane (null when there is none).
    HWND Host() const { return ::GetWindow(preview_.hwnd(), GW_CHILD); }
    void ExpectHostFillsThePane(bool border) {
        const HWND host = Host();
        ASSERT_NE(host, nullptr);
        EXPECT_TRUE(::IsWindowVisible(host));
        RECT r{};
        ::GetWindowRect(host, &r);
        EXPECT_EQ(r.right - r.left, kPaneWidth);
        EXPECT_EQ(r.bottom - r.top, kPaneHeight);
        EXPECT_EQ((::GetWindowLongA(host, GWL_STYLE) & WS_BORDER) != 0, border);
    }
    void TearDown() override {
        PreviewPane::TearDown();
        registration_.reset();
    }
    std::unique_ptr<test::FakePlayerRegistration> registration_;
};

TEST_F(PreviewPlayers, MediaPlayerCalls) {
    const std::string song = temp_.WriteFile("song.wav", std::string(64, '\0'));
    EXPECT_EQ(preview_.ShowFile(song), PreviewKind::MediaPlayer);
    ASSERT_EQ(preview_.Showing(), PreviewKind::MediaPlayer);
    ExpectHostFillsThePane(false);
    std::vector<PlayerCall> calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Put(22, false), Put(1017, true), Put(1021, false), Put(1018, true),
                                              PutText(1026, song), Method(2001)}))
        << Describe(calls);
    preview_.StopPreviews();
    calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Method(2003), PutText(1026, ""), Put(23, false), Put(1021, true)}))
        << Describe(calls);
    // Switched off: stopped and hidden; the next preview destroys the player.
    preview_.SetVisible(false);
    calls = TakeCalls();
    EXPECT_EQ(calls, std::vector<PlayerCall>{Method(2003)}) << Describe(calls);
    EXPECT_FALSE(::IsWindowVisible(Host()));
    preview_.SetVisible(true);
    EXPECT_EQ(FakePlayers().live, 1);
    preview_.ShowFile(temp_.WriteFile("p.bmp", TwoColourBmp(8, 8, RGB(255, 0, 0), RGB(255, 0, 0))));
    EXPECT_EQ(preview_.Showing(), PreviewKind::Picture);
    EXPECT_EQ(Host(), nullptr);
    EXPECT_EQ(FakePlayers().live, 0);  // the control was released with its window
}

TEST_F(PreviewPlayers, RealPlayerCalls) {
    const std::string film = temp_.WriteFile("film.rmvb", "x");
    EXPECT_EQ(preview_.ShowFile(film), PreviewKind::RealPlayer);
    ASSERT_EQ(preview_.Showing(), PreviewKind::RealPlayer);
    ExpectHostFillsThePane(false);
    std::vector<PlayerCall> calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Put(104, false), PutText(102, film), Method(257)})) << Describe(calls);
    preview_.StopPreviews();
    calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Method(202), PutText(102, "")})) << Describe(calls);
    // A second real-media preview starts a fresh player.
    preview_.ShowFile(film);
    EXPECT_EQ(FakePlayers().live, 1);
}

TEST_F(PreviewPlayers, FlashCallsAndStopAtTheLastFrame) {
    FakePlayers().totalFrames = 10;
    FakePlayers().currentFrame = 4;
    const std::string movie = temp_.WriteFile("movie.swf", "FWS");
    EXPECT_EQ(preview_.ShowFile(movie), PreviewKind::Flash);
    ASSERT_EQ(preview_.Showing(), PreviewKind::Flash);
    ExpectHostFillsThePane(true);
    std::vector<PlayerCall> calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Put(125, false), PutText(102, movie), Get(124), Method(112)}))
        << Describe(calls);
    // The frame poll reads the frame and the playing state every 100 ms...
    ::Sleep(150);
    Pump();
    calls = TakeCalls();
    ASSERT_GE(calls.size(), 2u) << Describe(calls);
    EXPECT_EQ(calls[0], Get(128));
    EXPECT_EQ(calls[1], Get(125));
    // ...and stops the movie at its last frame, once.
    FakePlayers().currentFrame = 10;
    ::Sleep(150);
    Pump();
    calls = TakeCalls();
    ASSERT_GE(calls.size(), 3u) << Describe(calls);
    EXPECT_EQ(calls.back(), Method(113)) << Describe(calls);
    ::Sleep(250);
    Pump();
    EXPECT_TRUE(TakeCalls().empty());
    preview_.StopPreviews();
    calls = TakeCalls();
    EXPECT_EQ(calls, (std::vector<PlayerCall>{Method(113), PutText(102, ""), Get(124)})) << Describe(calls);
    Screenshot("preview_flash_host");
}

TEST_F(PreviewPlayers, FailingPlayerDoesNoHarm) {
    FakePlayers().failAll = true;
    const std::pair<const char*, PreviewKind> files[] = {
        {"a.mp3", PreviewKind::MediaPlayer}, {"a.ram", PreviewKind::RealPlayer}, {"a.swf", PreviewKind::Flash}};
    for (const auto& f : files) {
        const std::string path = temp_.WriteFile(f.first, "x");
        EXPECT_EQ(preview_.ShowFile(path), f.second);
        EXPECT_EQ(preview_.Showing(), f.second);  // the control is there, only its calls fail
        ::Sleep(120);
        Pump();
        preview_.StopPreviews();
        preview_.SetVisible(false);
        preview_.SetVisible(true);
        EXPECT_FALSE(TakeCalls().empty());
    }
    preview_.ShowFile(temp_.Child("none.txt"));
    EXPECT_EQ(preview_.Showing(), PreviewKind::None);
    EXPECT_EQ(FakePlayers().live, 0);
}

TEST_F(PreviewPane, PreviewedFileCanBeRenamed) {
    const std::string path = temp_.WriteFile("shown.bmp", TwoColourBmp(64, 32, RGB(0, 0, 255), RGB(0, 255, 0)));
    preview_.ShowFile(path);
    ASSERT_EQ(preview_.Showing(), PreviewKind::Picture);
    // The picture is read into memory: the file is free even while it is shown...
    EXPECT_TRUE(::MoveFileA(path.c_str(), temp_.Child("renamed once.bmp").c_str())) << ::GetLastError();
    // ...and after StopPreviews, as a rename run does it.
    const std::string again = temp_.WriteFile("again.bmp", TwoColourBmp(64, 32, RGB(0, 0, 255), RGB(0, 255, 0)));
    preview_.ShowFile(again);
    preview_.StopPreviews();
    EXPECT_TRUE(::MoveFileA(again.c_str(), temp_.Child("renamed twice.bmp").c_str())) << ::GetLastError();
    EXPECT_TRUE(::DeleteFileA(temp_.Child("renamed twice.bmp").c_str()));
    // The picture still shows: 64 x 32 from (84, 69), blue on the left, green on the right.
    const Pixels p = Shown();
    EXPECT_TRUE(Near(p.At(100, 85), RGB(0, 0, 255))) << Hex(p.At(100, 85));
    EXPECT_TRUE(Near(p.At(130, 85), RGB(0, 255, 0))) << Hex(p.At(130, 85));
}

TEST_F(PreviewPane, SwitchedOffAndOnAgain) {
    const std::string first = temp_.WriteFile("first.bmp", TwoColourBmp(20, 20, RGB(255, 0, 0), RGB(255, 0, 0)));
    const std::string second = temp_.WriteFile("second.bmp", TwoColourBmp(20, 20, RGB(0, 0, 255), RGB(0, 0, 255)));
    preview_.ShowFile(first);
    preview_.SetVisible(!preview_.visible());
    EXPECT_FALSE(preview_.visible());
    EXPECT_FALSE(::IsWindowVisible(preview_.hwnd()));
    // While off, nothing is previewed.
    EXPECT_EQ(preview_.ShowFile(second), PreviewKind::None);
    preview_.SetVisible(!preview_.visible());
    EXPECT_TRUE(preview_.visible());
    EXPECT_TRUE(::IsWindowVisible(preview_.hwnd()));
    EXPECT_TRUE(Near(Shown().At(116, 85), RGB(255, 0, 0)));
    preview_.ShowFile(second);
    EXPECT_TRUE(Near(Shown().At(116, 85), RGB(0, 0, 255)));
    preview_.SetVisible(false);
    preview_.SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(preview_.hwnd()));
}

TEST(PreviewPaneLifetime, ParentDestroyedFirst) {
    WindowHandle parent(::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                          ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(parent);
    QuickPreview preview;
    ASSERT_TRUE(preview.Create(parent.get(), kFrame, false));
    EXPECT_FALSE(::IsWindowVisible(preview.hwnd()));
    parent.reset();
    EXPECT_EQ(preview.hwnd(), nullptr);
    EXPECT_EQ(preview.ShowFile("C:\\x.jpg"), PreviewKind::None);
}

}  // namespace
}  // namespace quorv::win
