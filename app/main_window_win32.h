#pragma once
// The main window of Quorv2.exe: the one modal dialog of the program. It
// owns the session (file list, rules, run record), the builder's state, the
// settings, and the controls that mirror them; every command calls the
// portable model and then mirrors the model into the controls. Nothing of
// the business data or the settings is read back out of a control (a box's
// click tells the window the state the user gave it).
#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/file_drop_target_win32.h"
#include "app/update_check_win32.h"
#include "batch/rename_run.h"
#include "builder/rule_builder.h"
#include "builder/rule_file.h"
#include "builder/rule_list.h"
#include "platform/raii_win32.h"
#include "platform/services.h"
#include "skin/mac_button_win32.h"
#include "skin/mac_check_box_win32.h"
#include "skin/result_view_win32.h"
#include "skin/themed_dialog_win32.h"
#include "skin/themed_list_win32.h"
#include "skin/themed_menu_win32.h"
#include "tools/quick_preview_win32.h"
#include "view/main_layout.h"
#include "view/settings_file.h"

namespace quorv::win {

// The addresses the help menu opens, and the version file the online
// update asks (view/online_update.h gives its form).
extern const char kHomePage[];
extern const char kSupportPage[];
extern const char kUpdateAddress[];
// Where a test names the address of a version file on this computer
// instead (HKEY_CURRENT_USER key and value; honoured for loopback
// addresses only, so it never sends a user to another site).
extern const char kTestUpdateKey[];
extern const char kTestUpdateValue[];
// The message the window posts itself when files were dropped on it: the
// drop is taken once the drag has ended.
inline constexpr UINT kDroppedFilesMessage = WM_APP + 19;
// The message the online update's thread posts once the site answered (or
// did not, in time).
inline constexpr UINT kUpdateAnsweredMessage = WM_APP + 20;
// The window's name, shown in its title bar.
extern const char kProgramName[];  // "Quorvane 2"

class MainWindow : public ThemedDialog {
public:
    explicit MainWindow(const Services& services);
    ~MainWindow() override;

    // Runs the window as a modal dialog from its template; returns when it
    // has been closed and the settings have been written.
    INT_PTR Run();

    void SetTheme(int theme) override;
    // The window moved to a screen of another DPI: beyond the themed base,
    // the template's controls go to their places at the new scale, and the
    // lists, the result view, the menus, the quick preview and the icons
    // follow; the resize rules then run at the new size.
    void SetScale(Scale scale) override;

protected:
    // After a DPI change the window keeps its client area's size in 96-DPI
    // units (at the suggested place): the rounding of the suggested
    // rectangle would otherwise make it a pixel larger at each move between
    // two screens, and its smallest size, which follows the template's
    // font, could refuse the suggested one.
    void PlaceAfterScaleChange(const RECT& suggested) override;
    bool OnInitDialog() override;
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDetached() override;

private:
    // ---- messages
    bool OnSize(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnGetMinMaxInfo(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnPaint(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnDrawItem(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnMeasureItem(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnCtlColorListBox(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnHelpRequest(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnDestroy(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnVKeyToItem(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnSysCommand(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnDroppedFiles(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnUpdateAnswered(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnSetCursor(UINT, WPARAM, LPARAM, LRESULT&);
    bool OnTimer(UINT, WPARAM, LPARAM, LRESULT&);

    // ---- window commands
    void OnExitQuestion();
    void OnEnter();
    void OnMinimize();
    void OnMaximize();
    void OnHelpButton();
    void OnThemeButton();
    void OnAbout();
    void OnManual();
    void OnWebsite();
    void OnEmail();
    void OnOnlineUpdate();
    void ShowUpdateAnswer();
    void RestoreCursor();
    // Looks again for a moment when the answer came in while the window was
    // not the user's (a run, a dialog).
    static constexpr UINT_PTR kUpdateAnswerTimer = 19;
    static constexpr UINT kUpdateAnswerRetryMs = 250;
    void OnThemeItem(int theme);
    template <int Theme>
    void OnThemeItemOf() { OnThemeItem(Theme); }
    // The rows of the commands that would change the session name them
    // through this: while a run is going on, the run owns the session and
    // such a command is ignored.
    template <void (MainWindow::*Command)()>
    void UnlessRunning() {
        if (!running_) (this->*Command)();
    }

    // ---- file list
    void OnAddFiles();
    void OnAddDir();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnFileUp();
    void OnFileDown();
    void OnSort();
    void OnSelectAll();
    void OnInvertSelection();
    void OnFilterChanged();
    void OnCaseClicked();
    void OnExcludeClicked();
    void OnSubdirClicked();
    void OnFileSelectionChanged();
    void OnFileDoubleClick();

    // ---- runs and batch files
    void OnPreview();
    void OnRename();
    void OnUndo();
    void OnLoadBatch();
    void OnSaveBatch();

    // ---- rules builder, rule list, rule files and favourites
    void OnTargetChanged();
    void OnActionChanged();
    void OnParameterPicked();
    void OnParameterTyped();
    void OnValuePicked();
    void OnValueTyped();
    void OnRuleSelectionChanged();
    void OnAddRule();
    void OnUpdateRule();
    void OnDeleteRule();
    void OnRuleUp();
    void OnRuleDown();
    void OnLoadRules();
    void OnSaveRules();
    void OnFavouriteChosen();

    // ---- side tools
    void OnCopyFiles();
    void OnMoveFiles();
    void OnQuickView();
    void OnShellMenu();

    // ---- set-up
    void SetIconsAndName();
    void AttachControls();
    void CreateCaptionButtons();
    void ApplySettings();
    void PlaceAtStart();
    void BuildMenus();
    void ReadHandoff();
    void RecordTemplateRects();
    // The template's rectangle of a control at the window's scale.
    Rect TemplateRect(int id) const;
    // The Maximize button's icon: Restore while the window is maximized.
    void ShowMaximizedState(bool maximized);
    // What the frame adds to the client area's width and height.
    Size FrameSize() const;
    // The window size (frame included) in which the template's controls
    // fit at the window's scale.
    Size NeededWindow() const;
    // Opens a menu with its top-left corner at a button's bottom-left one.
    void OpenMenuBelow(const ThemedMenu& menu, int buttonId);

    // ---- files dropped on the window
    bool DropWelcome() const;
    void TakeDrop(const std::vector<std::string>& paths);
    void LoadRulesFrom(const std::string& path, bool refreshStatus);
    void LoadBatchFrom(const std::string& path);

    // ---- mirroring the model into the controls
    // Where the file list's first visible row goes when its entries change:
    // to the top (a new list), or it stays as far as the list's length
    // allows, the focused entry scrolled into view only when it would
    // otherwise be hidden (Keep) or not at all (KeepExactly: after a sort
    // the focused entry may lie anywhere).
    enum class ListPlace { FromTop, Keep, KeepExactly };
    void MirrorFiles(ListPlace place = ListPlace::FromTop);
    void MirrorFileSelection(ListPlace place = ListPlace::Keep);
    void ForgetGonePreview();
    void MirrorRules();
    void MirrorBuilder(unsigned parts);
    void MirrorStatus();
    void MirrorResult();
    void MirrorUndo();
    void MirrorAll();
    void ReadFileSelectionBack();
    void ReadRuleSelectionBack();
    void FillFavourites();
    void Relayout();
    void MirrorSettingBoxes();
    void ApplyQuickView();
    void ShowQuickView();
    void RunBatch(RunMode mode);
    // At start-up: a run journal left by a run that did not finish leads to
    // the question whether to take it back.
    void OfferToTakeBackUnfinishedRun();
    bool OnAskAboutUnfinishedRun(UINT, WPARAM, LPARAM, LRESULT& result);
    std::string RunJournalPath() const;
    void ShowFileError(const std::string& text);
    bool PickFolderFor(std::string& folder);
    ComposeContext BuilderContext();

    static const MessageRow<MainWindow> kMessages[];
    static const CommandRow<MainWindow> kCommands[];

    // The key table, looked at before any control sees a key.
    static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);
    bool PreprocessKey(const MSG& message);

    const Services& services_;
    BatchSession session_;
    BuilderState builder_;
    RuleSelection ruleSelection_;
    // Where the installed files lie (the help file, the favourites the
    // setup installed), and where the user's own files live: the settings,
    // the handoff file, the favourites saved, batch files by default.
    std::string programFolder_;
    std::string dataFolder_;
    std::string lastFolder_;
    std::string copyMoveFolder_;
    // The settings the boxes "QuickView" and "ShellMenu" show (the file
    // list's Case, Exclude and Subdir live in the session's file list).
    bool quickView_ = true;
    bool shellMenu_ = false;
    // The client size to restore, in units of the 96-DPI design (as the
    // settings file keeps it).
    int restoreWidth_ = 800;
    int restoreHeight_ = 600;
    // The client size the user (or the start) gave the window, in pixels at
    // the DPI it had then: a move back to that DPI restores it exactly,
    // whatever the rounding at the other scale made of it.
    Size userClient_;
    int userDpi_ = 0;
    bool rescaling_ = false;  // the window sizes itself after a DPI change
    bool startMaximized_ = false;
    // Maximized at the first paint, and not yet restored by the user: a
    // restore from elsewhere (Wine's dialog loop shows a modal dialog
    // normally when its queue first runs empty) is undone once.
    bool holdMaximized_ = false;
    Settings closing_;  // what the settings file gets once the window is gone
    bool firstPaintPending_ = true;
    bool captionReady_ = false;
    bool mirroring_ = false;  // the window itself changes a control: no command follows
    bool running_ = false;    // a run is going on: nothing may change the session

    IconHandle bigIcon_;
    IconHandle smallIcon_;
    std::map<int, CMacButton> buttons_;
    std::map<int, CMacCheckBox> checks_;
    CMacButton maximize_;
    CMacButton minimize_;
    ThemedList files_;
    ThemedList rules_;
    ThemedList favourites_;
    ResultView result_;
    ThemedMenu helpMenu_;
    ThemedMenu themeMenu_;
    QuickPreview preview_;
    std::vector<Favourite> favouriteFiles_;
    // The places the template gave the controls (the moving ones by id,
    // every one by window), in pixels at the scale the window was made at.
    ComPtr<FileDropTarget> dropTarget_;
    std::vector<std::vector<std::string>> drops_;  // drops the window has not taken yet
    std::string previewedPath_;                    // the file the quick preview shows ("": none)
    UpdateCheckThread updateCheck_;                // the online update asking the site
    std::map<int, Rect> templateRects_;
    std::vector<std::pair<HWND, Rect>> templatePlaces_;
    Scale templateScale_;
    bool maximizeShowsRestore_ = false;

    std::uint64_t shownFileRevision_ = ~std::uint64_t{0};
    std::uint64_t shownSelectionRevision_ = ~std::uint64_t{0};
    HHOOK keyHook_ = nullptr;
};

}  // namespace quorv::win
