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
#include <vector>

#include "batch/rename_run.h"
#include "builder/rule_builder.h"
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

// The addresses the help menu opens.
extern const char kHomePage[];
extern const char kSupportPage[];
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

protected:
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

    // ---- mirroring the model into the controls
    void MirrorFiles();
    void MirrorFileSelection();
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
    std::string programFolder_;
    std::string lastFolder_;
    std::string copyMoveFolder_;
    // The settings the boxes "QuickView" and "ShellMenu" show (the file
    // list's Case, Exclude and Subdir live in the session's file list).
    bool quickView_ = true;
    bool shellMenu_ = false;
    int restoreWidth_ = 800;
    int restoreHeight_ = 600;
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
    std::vector<std::string> favouriteTitles_;
    std::map<int, Rect> templateRects_;

    std::uint64_t shownFileRevision_ = ~std::uint64_t{0};
    std::uint64_t shownSelectionRevision_ = ~std::uint64_t{0};
    HHOOK keyHook_ = nullptr;
};

}  // namespace quorv::win
