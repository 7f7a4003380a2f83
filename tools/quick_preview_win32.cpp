#include "tools/quick_preview_win32.h"

#include <commctrl.h>

#include <cstdint>
#include <utility>

#include "system/text_win32.h"

namespace quorv::win {

const CLSID kMediaPlayerClsid = {0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};
const CLSID kRealPlayerClsid = {0xCFCDAA03, 0x8BE4, 0x11CF, {0xB8, 0x4B, 0x00, 0x20, 0xAF, 0xBB, 0xCC, 0xFA}};
const CLSID kFlashClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

constexpr UINT_PTR kFlashTimerId = 1000;
constexpr UINT kFlashTimerPeriod = 100;
// Pictures larger than this are not loaded into memory.
constexpr LONGLONG kMaxPictureBytes = 256LL * 1024 * 1024;

// Automation identifiers of the players.
namespace media {
constexpr DISPID kAutoStart = 22;
constexpr DISPID kAutoRewind = 23;
constexpr DISPID kShowControls = 1017;
constexpr DISPID kShowDisplay = 1018;
constexpr DISPID kShowStatusBar = 1021;
constexpr DISPID kFileName = 1026;
constexpr DISPID kPlay = 2001;
constexpr DISPID kStop = 2003;
}  // namespace media
namespace real {
constexpr DISPID kSource = 102;
constexpr DISPID kAutoStart = 104;
constexpr DISPID kStop = 202;
constexpr DISPID kPlay = 257;
}  // namespace real
namespace flash {
constexpr DISPID kMovie = 102;
constexpr DISPID kPlay = 112;
constexpr DISPID kStop = 113;
constexpr DISPID kTotalFrames = 124;
constexpr DISPID kPlaying = 125;
constexpr DISPID kCurrentFrame = 128;
}  // namespace flash

// The control hosting of atl.dll, loaded once for the process: the hosted
// controls and the window classes it registers must not outlive it.
using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxCreateControlFn = HRESULT(WINAPI*)(LPCOLESTR name, HWND window, IStream* stream, IUnknown** container);
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND window, IUnknown** control);

struct AtlHosting {
    ModuleHandle module;
    AtlAxCreateControlFn createControl = nullptr;
    AtlAxGetControlFn getControl = nullptr;
    bool ready() const { return createControl != nullptr && getControl != nullptr; }
};

const AtlHosting& Atl() {
    static const AtlHosting hosting = [] {
        AtlHosting h;
        h.module.reset(::LoadLibraryA("atl.dll"));
        if (!h.module) return h;
        const auto init = reinterpret_cast<AtlAxWinInitFn>(
            reinterpret_cast<void*>(::GetProcAddress(h.module.get(), "AtlAxWinInit")));
        h.createControl = reinterpret_cast<AtlAxCreateControlFn>(
            reinterpret_cast<void*>(::GetProcAddress(h.module.get(), "AtlAxCreateControl")));
        h.getControl = reinterpret_cast<AtlAxGetControlFn>(
            reinterpret_cast<void*>(::GetProcAddress(h.module.get(), "AtlAxGetControl")));
        // Registers the hosting window classes; its answer does not matter here,
        // the controls are attached to windows of our own class.
        if (init) init();
        return h;
    }();
    return hosting;
}

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t text[64] = {};
    if (::StringFromGUID2(clsid, text, 64) <= 0) return std::wstring();
    return text;
}

// A VARIANT cleared on scope exit.
class Variant {
public:
    Variant() { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }

private:
    VARIANT v_;
};

// One automation call. Whatever the player reports (an error status, an
// exception description) is taken in and freed; only the status comes back.
HRESULT Invoke(IDispatch* target, DISPID id, WORD kind, VARIANT* argument, VARIANT* result) noexcept {
    if (target == nullptr) return E_POINTER;
    try {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{};
        if (argument != nullptr) {
            params.rgvarg = argument;
            params.cArgs = 1;
        }
        if (kind == DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &named;
            params.cNamedArgs = 1;
        }
        EXCEPINFO exception{};
        UINT badArgument = 0;
        const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception,
                                          &badArgument);
        if (hr == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
        return hr;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT CallMethod(IDispatch* target, DISPID id) {
    Variant ignored;
    return Invoke(target, id, DISPATCH_METHOD, nullptr, ignored.get());
}

HRESULT PutBool(IDispatch* target, DISPID id, bool value) {
    Variant v;
    v.get()->vt = VT_BOOL;
    v.get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Invoke(target, id, DISPATCH_PROPERTYPUT, v.get(), nullptr);
}

HRESULT PutText(IDispatch* target, DISPID id, const std::string& text) {
    const std::wstring wide = WideFromNarrow(text);
    Variant v;
    v.get()->vt = VT_BSTR;
    v.get()->bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (v.get()->bstrVal == nullptr) {
        v.get()->vt = VT_EMPTY;
        return E_OUTOFMEMORY;
    }
    return Invoke(target, id, DISPATCH_PROPERTYPUT, v.get(), nullptr);
}

HRESULT GetLong(IDispatch* target, DISPID id, long& out) {
    Variant result;
    HRESULT hr = Invoke(target, id, DISPATCH_PROPERTYGET, nullptr, result.get());
    if (FAILED(hr)) return hr;
    hr = ::VariantChangeType(result.get(), result.get(), 0, VT_I4);
    if (SUCCEEDED(hr)) out = result.get()->lVal;
    return hr;
}

HRESULT GetBool(IDispatch* target, DISPID id, bool& out) {
    Variant result;
    HRESULT hr = Invoke(target, id, DISPATCH_PROPERTYGET, nullptr, result.get());
    if (FAILED(hr)) return hr;
    hr = ::VariantChangeType(result.get(), result.get(), 0, VT_BOOL);
    if (SUCCEEDED(hr)) out = result.get()->boolVal != VARIANT_FALSE;
    return hr;
}

// The Flash control shows no context menu; a command arriving for it beeps
// briefly and goes on as usual.
LRESULT CALLBACK FlashInputFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        return 0;
    case WM_COMMAND:
        ::Beep(1000, 10);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(window, FlashInputFilter, id);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

BOOL CALLBACK FilterFlashChild(HWND child, LPARAM) {
    ::SetWindowSubclass(child, FlashInputFilter, 1, 0);
    return TRUE;
}

}  // namespace

// ---------------------------------------------------------------- picture loading

ComPtr<IPicture> LoadPictureFile(const std::string& path) {
    ComPtr<IPicture> picture;
    try {
        ComPtr<IStream> stream;
        LONG size = 0;
        {
            FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            if (!file) return picture;
            LARGE_INTEGER length{};
            if (!::GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 || length.QuadPart > kMaxPictureBytes)
                return picture;
            size = static_cast<LONG>(length.QuadPart);
            HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
            if (memory == nullptr) return picture;
            bool read = false;
            if (void* bytes = ::GlobalLock(memory)) {
                auto* at = static_cast<char*>(bytes);
                LONG left = size;
                read = true;
                while (left > 0) {
                    DWORD got = 0;
                    if (!::ReadFile(file.get(), at, static_cast<DWORD>(left), &got, nullptr) || got == 0) {
                        read = false;
                        break;
                    }
                    at += got;
                    left -= static_cast<LONG>(got);
                }
                ::GlobalUnlock(memory);
            }
            // The stream owns the memory from here on.
            if (!read || FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
                ::GlobalFree(memory);
                return picture;
            }
        }  // the file is closed before decoding
        if (FAILED(::OleLoadPicture(stream.get(), size, FALSE, IID_IPicture, picture.put_void()))) picture.reset();
    } catch (...) {
        picture.reset();
    }
    return picture;
}

// ---------------------------------------------------------------- the tool and its pane

QuickPreview::QuickPreview() = default;

QuickPreview::~QuickPreview() {
    DestroyPlayers();
    // The pane's window and its picture go while OLE still runs.
    pane_.Destroy();
    if (SUCCEEDED(oleInit_)) ::OleUninitialize();
}

bool QuickPreview::Create(HWND parent, const RECT& frame, bool visible) {
    if (pane_.hwnd()) return true;
    if (FAILED(oleInit_)) oleInit_ = ::OleInitialize(nullptr);
    QuickPreviewPane::Events events;
    events.timer = [this](UINT_PTR id) { OnTimer(id); };
    // The parent is going: let go of the players while their windows still exist.
    events.destroying = [this] { DestroyPlayers(); };
    if (!pane_.Create(parent, frame, visible, std::move(events))) return false;
    visible_ = visible;
    return true;
}

void QuickPreview::Place(const RECT& frame) { pane_.Place(frame); }

void QuickPreview::SetPlayerClass(PreviewKind kind, const CLSID& clsid) {
    if (kind == PreviewKind::MediaPlayer) mediaClass_ = clsid;
    if (kind == PreviewKind::RealPlayer) realClass_ = clsid;
    if (kind == PreviewKind::Flash) flashClass_ = clsid;
}

void QuickPreview::SetBackground(COLORREF colour) { pane_.SetBackground(colour); }

PreviewKind QuickPreview::Showing() const {
    if (pane_.HasPicture()) return PreviewKind::Picture;
    if (media_.exists()) return PreviewKind::MediaPlayer;
    if (real_.exists()) return PreviewKind::RealPlayer;
    if (flash_.exists()) return PreviewKind::Flash;
    return PreviewKind::None;
}

// ---------------------------------------------------------------- players

bool QuickPreview::LoadAtl() { return Atl().ready(); }

bool QuickPreview::CreatePlayer(Player& player, const CLSID& clsid, bool visible) {
    DestroyPlayer(player);
    if (!pane_.hwnd() || !LoadAtl()) return false;
    const std::wstring name = ClsidText(clsid);
    if (name.empty()) return false;
    DWORD style = visible ? WS_VISIBLE : 0;
    if (&player == &flash_) style |= WS_BORDER;
    player.host.reset(pane_.CreateHost(style));
    if (!player.host) return false;
    // An absent player fails here (class not registered) and leaves the pane empty.
    HRESULT hr = Atl().createControl(name.c_str(), player.host.get(), nullptr, player.container.put());
    ComPtr<IUnknown> control;
    if (SUCCEEDED(hr)) hr = Atl().getControl(player.host.get(), control.put());
    if (SUCCEEDED(hr) && control) hr = control.As(IID_IDispatch, player.dispatch);
    if (FAILED(hr) || !player.dispatch) {
        DestroyPlayer(player);
        return false;
    }
    if (&player == &flash_) {
        FilterFlashChild(player.host.get(), 0);
        ::EnumChildWindows(player.host.get(), FilterFlashChild, 0);
    }
    return true;
}

void QuickPreview::DestroyPlayer(Player& player) {
    player.dispatch.reset();
    player.container.reset();
    player.host.reset();  // the hosting releases the control with its window
}

void QuickPreview::DestroyPlayers() {
    StopFlashTimer();
    DestroyPlayer(media_);
    DestroyPlayer(real_);
    DestroyPlayer(flash_);
    flashTotalFrames_ = -1;
}

void QuickPreview::StopFlashTimer() {
    if (flashTimer_ != 0 && pane_.hwnd()) ::KillTimer(pane_.hwnd(), flashTimer_);
    flashTimer_ = 0;
}

void QuickPreview::FlashLoad(const std::string& path) {
    PutText(flash_.dispatch.get(), flash::kMovie, path);
    long total = -1;
    if (FAILED(GetLong(flash_.dispatch.get(), flash::kTotalFrames, total))) total = -1;
    flashTotalFrames_ = total;
}

void QuickPreview::FlashPlay() {
    CallMethod(flash_.dispatch.get(), flash::kPlay);
    if (flashTimer_ == 0 && pane_.hwnd()) flashTimer_ = ::SetTimer(pane_.hwnd(), kFlashTimerId, kFlashTimerPeriod, nullptr);
}

void QuickPreview::FlashStop() {
    StopFlashTimer();
    CallMethod(flash_.dispatch.get(), flash::kStop);
}

// ---------------------------------------------------------------- commands

PreviewKind QuickPreview::ShowFile(const std::string& path) {
    if (!visible_ || !pane_.hwnd()) return PreviewKind::None;
    const PreviewKind kind = ChoosePreview(path);
    WaitCursor wait;
    DestroyPlayers();
    pane_.SetPicture(ComPtr<IPicture>());

    switch (kind) {
    case PreviewKind::Picture:
        pane_.SetPicture(LoadPictureFile(path));
        break;
    case PreviewKind::MediaPlayer:
        if (CreatePlayer(media_, mediaClass_, false)) {
            IDispatch* d = media_.dispatch.get();
            PutBool(d, media::kAutoStart, false);
            PutBool(d, media::kShowControls, true);
            PutBool(d, media::kShowStatusBar, false);
            PutBool(d, media::kShowDisplay, true);
            PutText(d, media::kFileName, path);
            CallMethod(d, media::kPlay);
            ::ShowWindow(media_.host.get(), SW_SHOW);
        }
        break;
    case PreviewKind::RealPlayer:
        if (CreatePlayer(real_, realClass_, false)) {
            IDispatch* d = real_.dispatch.get();
            PutBool(d, real::kAutoStart, false);
            PutText(d, real::kSource, path);
            CallMethod(d, real::kPlay);
            ::ShowWindow(real_.host.get(), SW_SHOW);
        }
        break;
    case PreviewKind::Flash:
        if (CreatePlayer(flash_, flashClass_, false)) {
            PutBool(flash_.dispatch.get(), flash::kPlaying, false);
            flashTotalFrames_ = -1;
            FlashLoad(path);
            FlashPlay();
            ::ShowWindow(flash_.host.get(), SW_SHOW);
        }
        break;
    case PreviewKind::None:
        break;
    }
    return kind;
}

void QuickPreview::StopPreviews() {
    if (media_.exists()) {
        IDispatch* d = media_.dispatch.get();
        CallMethod(d, media::kStop);
        PutText(d, media::kFileName, std::string());
        PutBool(d, media::kAutoRewind, false);
        PutBool(d, media::kShowStatusBar, true);
    }
    if (real_.exists()) {
        CallMethod(real_.dispatch.get(), real::kStop);
        PutText(real_.dispatch.get(), real::kSource, std::string());
    }
    if (flash_.exists()) {
        FlashStop();
        FlashLoad(std::string());
    }
}

void QuickPreview::SetVisible(bool on) {
    visible_ = on;
    if (!pane_.hwnd()) return;
    if (on) {
        ::ShowWindow(pane_.hwnd(), SW_SHOW);
        return;
    }
    if (media_.exists()) {
        ::ShowWindow(media_.host.get(), SW_HIDE);
        CallMethod(media_.dispatch.get(), media::kStop);
    }
    if (real_.exists()) {
        ::ShowWindow(real_.host.get(), SW_HIDE);
        CallMethod(real_.dispatch.get(), real::kStop);
    }
    if (flash_.exists()) {
        ::ShowWindow(flash_.host.get(), SW_HIDE);
        FlashStop();
    }
    ::ShowWindow(pane_.hwnd(), SW_HIDE);
}

// ---------------------------------------------------------------- the Flash view's frame poll

void QuickPreview::OnTimer(UINT_PTR id) {
    if (id != kFlashTimerId || !flash_.exists()) return;
    long current = -1;
    bool playing = false;
    if (FAILED(GetLong(flash_.dispatch.get(), flash::kCurrentFrame, current))) return;
    if (FAILED(GetBool(flash_.dispatch.get(), flash::kPlaying, playing))) return;
    if (playing && current == flashTotalFrames_) FlashStop();
}

}  // namespace quorv::win
