#pragma once
// The quick preview tool: shows the focused file of the file list in the
// quick preview pane (skin/quick_preview_pane_win32.h) inside the
// "QuickView" frame. Pictures are decoded by the system's OLE picture loader
// and drawn by the pane; sound and video go to the media player or the
// real-media player control, Flash movies to the Flash control. The three
// players are outside ActiveX controls, created by class identifier through
// the system's control hosting (atl.dll, loaded at run time) in windows the
// pane hosts, and driven by automation calls; an absent or failing player
// leaves the pane empty.
//
// The tool initialises OLE on its thread for its own lifetime. Every call
// into a player is checked; no exception leaves the tool.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "platform/raii_win32.h"
#include "skin/quick_preview_pane_win32.h"
#include "view/preview_layout.h"

namespace quorv::win {

// The players' class identifiers.
extern const CLSID kMediaPlayerClsid;  // {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
extern const CLSID kRealPlayerClsid;   // {CFCDAA03-8BE4-11CF-B84B-0020AFBBCCFA}
extern const CLSID kFlashClsid;        // {D27CDB6E-AE6D-11CF-96B8-444553540000}

// Decodes a picture file (JPEG, GIF, BMP) with OleLoadPicture. The file is
// read into memory and closed again before decoding (others may read it
// meanwhile, not write). Null when it cannot be opened or decoded.
ComPtr<IPicture> LoadPictureFile(const std::string& path);

class QuickPreview {
public:
    QuickPreview();
    ~QuickPreview();
    QuickPreview(const QuickPreview&) = delete;
    QuickPreview& operator=(const QuickPreview&) = delete;

    // Creates the pane as a child of parent (identifier 0xFFFF) inside the
    // frame rectangle (client coordinates of parent); visible or hidden.
    bool Create(HWND parent, const RECT& frame, bool visible);
    HWND hwnd() const { return pane_.hwnd(); }

    // Places the pane inside the frame rectangle (4 pixels in from its left,
    // right and bottom edges, 16 down from its top); the player and the
    // picture follow.
    void Place(const RECT& frame);

    // Shows the file: the picture, the player for its kind, or nothing.
    // Nothing happens while the pane is hidden. Returns the view chosen by
    // the file's name (whether or not it could be shown).
    PreviewKind ShowFile(const std::string& path);

    // Stops and unloads every player, so that no previewed file stays open
    // (called before a rename). The picture holds no file.
    void StopPreviews();

    // The "QuickView" box: on shows the pane (the caller then shows the
    // focused file), off stops the players and hides the pane.
    void SetVisible(bool on);
    bool visible() const { return visible_; }

    // What the pane shows now: Picture when a picture is loaded, the player
    // kind when that player exists, None when it is empty.
    PreviewKind Showing() const;

    // Replaces the class identifier of the control that shows the media,
    // real-media or Flash kind (the program keeps the standard ones; tests
    // host another installed control to drive the hosting and the calls).
    void SetPlayerClass(PreviewKind kind, const CLSID& clsid);

    // The pane's background colour (the theme's).
    void SetBackground(COLORREF colour);

private:
    struct Player;
    // The pane's timer: the Flash view's frame poll.
    void OnTimer(UINT_PTR id);

    bool LoadAtl();
    // A player control inside the pane; false when the control cannot be created.
    bool CreatePlayer(Player& player, const CLSID& clsid, bool visible);
    void DestroyPlayer(Player& player);
    void DestroyPlayers();

    void FlashLoad(const std::string& path);
    void FlashPlay();
    void FlashStop();
    void StopFlashTimer();

    HRESULT oleInit_ = E_FAIL;
    QuickPreviewPane pane_;
    bool visible_ = false;

    struct Player {
        WindowHandle host;
        ComPtr<IUnknown> container;
        ComPtr<IDispatch> dispatch;
        bool exists() const { return host.valid(); }
    };
    Player media_;
    Player real_;
    Player flash_;
    CLSID mediaClass_ = kMediaPlayerClsid;
    CLSID realClass_ = kRealPlayerClsid;
    CLSID flashClass_ = kFlashClsid;
    // The Flash view's state: total frames (-1 unknown), the frame-poll timer.
    long flashTotalFrames_ = -1;
    UINT_PTR flashTimer_ = 0;
};

}  // namespace quorv::win
