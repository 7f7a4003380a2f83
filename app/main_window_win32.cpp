// The main window: set-up, layout, themes, menus, keys and closing. The
// commands of the file list, the runs and the rules live in the two files
// beside this one.
#include "app/main_window_win32.h"

#include <shellapi.h>

#include "app/about_dialog_win32.h"
#include "app/resource.h"
#include "app/shell_registration_win32.h"
#include "builder/rule_file.h"
#include "formats/handoff_file.h"
#include "skin/dpi_win32.h"
#include "skin/message_dialog_win32.h"
#include "skin/paint_win32.h"
#include "system/system_access.h"
#include "system/text_win32.h"
#include "system/web_fetch_win32.h"
#include "view/online_update.h"

namespace quorv::win {

const char kHomePage[] = "https://quorvane.org/";
const char kSupportPage[] = "https://quorvane.org/support/";
const char kUpdateAddress[] = "https://quorvane.org/quorv2-version.txt";
const char kTestUpdateKey[] = "HKEY_CURRENT_USER\\Software\\Quorvane 2\\Test";
const char kTestUpdateValue[] = "UpdateAddress";
const char kProgramName[] = "Quorvane 2";

namespace {

// The one window whose keys the filter looks at (one main window per program).
MainWindow* g_keyWindow = nullptr;

struct ButtonLook {
    int id;
    const char* tooltip;  // null: none
    int icon;
};

// Tooltips and icons of the buttons, as the window sets them up.
const ButtonLook kButtonLooks[] = {
    {IDC_MOVE_FILES, "Move selected files to... (CTRL+M)", IDI_MOVE_FILES},
    {IDC_COPY_FILES, "Copy selected files to... (CTRL+C)", IDI_COPY_FILES},
    {IDC_SELECT_ALL, "Select all (CTRL+A)", IDI_SELECT_ALL},
    {IDC_INVERT_SELECTION, "Invert select (CTRL+I)", IDI_INVERT_SELECTION},
    {IDC_HELP_BUTTON, "About...", IDI_ABOUT},
    {IDC_THEME, "Select color themes", IDI_THEME},
    {IDC_ADD_RULE, "Add rule", IDI_ADD_RULE},
    {IDC_UPDATE_RULE, "Update rule", IDI_UPDATE_RULE},
    {IDC_DELETE_RULE, "Delete rule", IDI_DELETE_RULE},
    {IDC_SAVE_BATCH, "Save batch files and rules", IDI_SAVE_BATCH},
    {IDC_LOAD_BATCH, "Load batch files and rules", IDI_LOAD},
    {IDC_LOAD_RULES, "Load renaming rules", IDI_LOAD},
    {IDC_SAVE_RULES, "Save renaming rules", IDI_SAVE_RULES},
    {IDC_REMOVE_SELECTED, "Remove select", IDI_REMOVE_SELECTED},
    {IDC_REMOVE_ALL, "Remove All", IDI_REMOVE_ALL},
    {IDC_ADD_DIR, "Add dir", IDI_ADD_DIR},
    {IDC_ADD_FILES, "Add file(s)", IDI_ADD_FILES},
    {IDC_RULE_UP, "Move up", IDI_MOVE_UP},
    {IDC_FILE_UP, "Move up", IDI_MOVE_UP},
    {IDC_RULE_DOWN, "Move down", IDI_MOVE_DOWN},
    {IDC_FILE_DOWN, "Move down", IDI_MOVE_DOWN},
    {IDC_SORT, "Sort by name", IDI_SORT},
    {IDC_PREVIEW, nullptr, IDI_PREVIEW},
    {IDC_RENAME, nullptr, IDI_RENAME},
    {IDC_UNDO, nullptr, IDI_UNDO},
};

// Posted at the end of the set-up: ask about a run left unfinished.
constexpr UINT kAskAboutUnfinishedRun = WM_APP + 1;

const int kCheckBoxes[] = {IDC_CASE, IDC_SUBDIR, IDC_QUICKVIEW, IDC_EXCLUDE, IDC_SHELL_MENU};

// The controls whose template rectangles the resize rules start from.
const int kMovingControls[] = {IDC_FILE_FRAME,  IDC_STATUS,   IDC_COMMAND_LINE, IDC_RESULT_FRAME,
                               IDC_FAVOURITES_FRAME, IDC_RESULT_LIST, IDC_FAVOURITES, IDC_QUICKVIEW_FRAME,
                               IDC_CASE,        IDC_EXCLUDE,  IDC_FILE_LIST,    IDC_FILTER};

}  // namespace

const MessageRow<MainWindow> MainWindow::kMessages[] = {
    {kAskAboutUnfinishedRun, &MainWindow::OnAskAboutUnfinishedRun},
    {WM_SIZE, &MainWindow::OnSize},
    {WM_GETMINMAXINFO, &MainWindow::OnGetMinMaxInfo},
    {WM_PAINT, &MainWindow::OnPaint},
    {WM_DRAWITEM, &MainWindow::OnDrawItem},
    {WM_MEASUREITEM, &MainWindow::OnMeasureItem},
    {WM_CTLCOLORLISTBOX, &MainWindow::OnCtlColorListBox},
    {WM_HELP, &MainWindow::OnHelpRequest},
    {WM_DESTROY, &MainWindow::OnDestroy},
    {WM_VKEYTOITEM, &MainWindow::OnVKeyToItem},
    {WM_SYSCOMMAND, &MainWindow::OnSysCommand},
    {kDroppedFilesMessage, &MainWindow::OnDroppedFiles},
    {kUpdateAnsweredMessage, &MainWindow::OnUpdateAnswered},
    {WM_SETCURSOR, &MainWindow::OnSetCursor},
    {WM_TIMER, &MainWindow::OnTimer},
};

// A run owns the session until it ends: the rows of the commands that would
// change it, or close the window, go through UnlessRunning, which ignores
// them meanwhile.
const CommandRow<MainWindow> MainWindow::kCommands[] = {
    {IDCANCEL, kAnyCode, &MainWindow::UnlessRunning<&MainWindow::OnExitQuestion>},
    {IDOK, kAnyCode, &MainWindow::OnEnter},
    {IDM_MINIMIZE, BN_CLICKED, &MainWindow::OnMinimize},
    {IDM_MAXIMIZE, BN_CLICKED, &MainWindow::OnMaximize},
    {IDC_HELP_BUTTON, BN_CLICKED, &MainWindow::OnHelpButton},
    {IDC_THEME, BN_CLICKED, &MainWindow::OnThemeButton},
    {IDM_ABOUT, 0, &MainWindow::OnAbout},
    {IDM_MANUAL, 0, &MainWindow::OnManual},
    {IDM_WEBSITE, 0, &MainWindow::OnWebsite},
    {IDM_EMAIL, 0, &MainWindow::OnEmail},
    {IDM_UPDATE, 0, &MainWindow::OnOnlineUpdate},
    {IDM_THEME_FIRST + 0, 0, &MainWindow::OnThemeItemOf<0>},
    {IDM_THEME_FIRST + 1, 0, &MainWindow::OnThemeItemOf<1>},
    {IDM_THEME_FIRST + 2, 0, &MainWindow::OnThemeItemOf<2>},
    {IDM_THEME_FIRST + 3, 0, &MainWindow::OnThemeItemOf<3>},
    {IDM_THEME_FIRST + 4, 0, &MainWindow::OnThemeItemOf<4>},
    {IDM_THEME_FIRST + 5, 0, &MainWindow::OnThemeItemOf<5>},
    {IDM_THEME_FIRST + 6, 0, &MainWindow::OnThemeItemOf<6>},
    {IDM_THEME_FIRST + 7, 0, &MainWindow::OnThemeItemOf<7>},
    {IDM_THEME_FIRST + 8, 0, &MainWindow::OnThemeItemOf<8>},
    {IDM_THEME_FIRST + 9, 0, &MainWindow::OnThemeItemOf<9>},
    {IDM_THEME_FIRST + 10, 0, &MainWindow::OnThemeItemOf<10>},
    // The file list.
    {IDC_ADD_FILES, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnAddFiles>},
    {IDC_ADD_DIR, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnAddDir>},
    {IDC_REMOVE_SELECTED, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnRemoveSelected>},
    {IDC_REMOVE_ALL, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnRemoveAll>},
    {IDC_FILE_UP, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnFileUp>},
    {IDC_FILE_DOWN, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnFileDown>},
    {IDC_SORT, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnSort>},
    {IDC_SELECT_ALL, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnSelectAll>},
    {IDC_INVERT_SELECTION, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnInvertSelection>},
    {IDC_FILTER, EN_CHANGE, &MainWindow::UnlessRunning<&MainWindow::OnFilterChanged>},
    {IDC_CASE, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnCaseClicked>},
    {IDC_EXCLUDE, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnExcludeClicked>},
    {IDC_SUBDIR, BN_CLICKED, &MainWindow::OnSubdirClicked},
    {IDC_FILE_LIST, LBN_SELCHANGE, &MainWindow::OnFileSelectionChanged},
    {IDC_FILE_LIST, LBN_DBLCLK, &MainWindow::OnFileDoubleClick},
    // Runs and batch files.
    {IDC_PREVIEW, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnPreview>},
    {IDC_RENAME, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnRename>},
    {IDC_UNDO, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnUndo>},
    {IDC_LOAD_BATCH, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnLoadBatch>},
    {IDC_SAVE_BATCH, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnSaveBatch>},
    // The rules builder and the rule list.
    {IDC_TARGET, CBN_SELCHANGE, &MainWindow::OnTargetChanged},
    {IDC_ACTION, CBN_SELCHANGE, &MainWindow::OnActionChanged},
    {IDC_PARAMETER, CBN_SELCHANGE, &MainWindow::OnParameterPicked},
    {IDC_PARAMETER, CBN_EDITCHANGE, &MainWindow::OnParameterTyped},
    {IDC_VALUE, CBN_SELCHANGE, &MainWindow::OnValuePicked},
    {IDC_VALUE, CBN_EDITCHANGE, &MainWindow::OnValueTyped},
    {IDC_RULE_LIST, LBN_SELCHANGE, &MainWindow::OnRuleSelectionChanged},
    {IDC_ADD_RULE, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnAddRule>},
    {IDC_UPDATE_RULE, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnUpdateRule>},
    {IDC_DELETE_RULE, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnDeleteRule>},
    {IDC_RULE_UP, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnRuleUp>},
    {IDC_RULE_DOWN, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnRuleDown>},
    {IDC_LOAD_RULES, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnLoadRules>},
    {IDC_SAVE_RULES, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnSaveRules>},
    {IDC_FAVOURITES, LBN_SELCHANGE, &MainWindow::UnlessRunning<&MainWindow::OnFavouriteChosen>},
    // Side tools.
    {IDC_COPY_FILES, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnCopyFiles>},
    {IDC_MOVE_FILES, BN_CLICKED, &MainWindow::UnlessRunning<&MainWindow::OnMoveFiles>},
    {IDC_QUICKVIEW, BN_CLICKED, &MainWindow::OnQuickView},
    {IDC_SHELL_MENU, BN_CLICKED, &MainWindow::OnShellMenu},
};

namespace {

// The id of the main window's control that holds the focus window (the
// edit of a combo box counts as its combo box); 0 when none.
int FocusControlId(HWND dialog) {
    HWND focus = ::GetFocus();
    while (focus && ::GetParent(focus) != dialog) focus = ::GetParent(focus);
    return focus ? ::GetDlgCtrlID(focus) : 0;
}

// Whether the focus window is an edit field (the filter box, the edit of a
// builder box) with a text selection.
bool FocusedEditHasSelection() {
    HWND focus = ::GetFocus();
    char name[16] = {};
    if (!focus || !::GetClassNameA(focus, name, static_cast<int>(sizeof name)) || ::lstrcmpiA(name, "Edit") != 0)
        return false;
    DWORD start = 0, end = 0;
    ::SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

// The program's own version, from its version resource.
ProgramVersion InstalledVersion() {
    ProgramVersion version;
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (bytes) VersionOfResource(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)), version);
    return version;
}

// The address of a version file a test serves on this computer ("" when none).
std::string TestUpdateAddress() {
    std::string data;
    std::uint32_t type = 0, size = 0;
    if (RegReadValue(kTestUpdateKey, kTestUpdateValue, data, type, size) != kRegErrorSuccess || type != kRegSz)
        return std::string();
    return data;
}

}  // namespace

MainWindow::MainWindow(const Services& services)
    : ThemedDialog(kDefaultTheme, kMainWindowDragStrip),
      services_(services),
      session_(services),
      builder_(InitialBuilderState()) {
    programFolder_ = GetProgramFolder();
    dataFolder_ = DataFolder();
    RefreshStatusLine(session_);
}

MainWindow::~MainWindow() {
    if (keyHook_) ::UnhookWindowsHookEx(keyHook_);
    if (g_keyWindow == this) g_keyWindow = nullptr;
}

INT_PTR MainWindow::Run() { return DoModal(IDD_MAIN, nullptr); }

bool MainWindow::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return RouteRows(this, Table(kMessages), Table(kCommands), message, wParam, lParam, result) ||
           ThemedDialog::Route(message, wParam, lParam, result);
}

// ---------------------------------------------------------------- set-up

bool MainWindow::OnInitDialog() {
    // The template's controls exist by now.
    SetIconsAndName();
    // The resize rules start from the places the template gives.
    RecordTemplateRects();
    // The themed base has made the background brush and the title bar; the
    // lists, the drawn buttons and check boxes, the caption buttons and the
    // quick preview pane join them.
    AttachControls();
    CreateCaptionButtons();
    preview_.SetScale(scale());
    preview_.Create(hwnd(), ToRECT(templateRects_[IDC_QUICKVIEW_FRAME]), true);
    // The settings give the size the window is centred at. The installed
    // copy's first start for a user takes over the settings an earlier
    // version kept beside the program.
    MoveInSettings(services_.fileSystem(), programFolder_, dataFolder_);
    ApplySettings();
    PlaceAtStart();
    // While the setting is on, each start registers the extension beside
    // this very program, so that the menu entry follows the program.
    if (shellMenu_) {
        for (const std::string& message : RegisterShellExtensionAtStart().messages) ShowMessage(message, theme(), hwnd());
    }
    ApplyQuickView();
    BuildMenus();
    // Files the context menu handed over join the list before the status
    // line is worked out.
    ReadHandoff();
    SetTheme(theme());
    FillFavourites();
    RefreshStatusLine(session_);
    MirrorAll();
    MirrorBuilder(kAllBuilderParts);
    // A rename killed half-way left its journal behind: the user may take
    // the files it renamed back before anything else happens, asked over
    // the window once it shows.
    ::PostMessageW(hwnd(), kAskAboutUnfinishedRun, 0, 0);
    // The keys the window looks at before any control.
    g_keyWindow = this;
    keyHook_ = ::SetWindowsHookExA(WH_MSGFILTER, &MainWindow::KeyFilter, nullptr, ::GetCurrentThreadId());
    // Files and folders dragged from the file manager.
    dropTarget_ = FileDropTarget::Register(
        hwnd(), [this] { return DropWelcome(); },
        [this](std::vector<std::string> paths) {
            drops_.push_back(std::move(paths));
            ::PostMessageA(hwnd(), kDroppedFilesMessage, 0, 0);
        });
    return true;
}

void MainWindow::SetIconsAndName() {
    // The program icon at 32 x 32 and 16 x 16 pixels at 96 DPI: the sizes
    // at the window's scale. The window lets the old ones go before they do.
    IconHandle big(LoadScaledIcon(IDI_PROGRAM, 32, scale()));
    IconHandle tiny(LoadScaledIcon(IDI_PROGRAM, 16, scale()));
    ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(tiny.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(tiny);
    ::SetWindowTextA(hwnd(), kProgramName);
}

void MainWindow::RecordTemplateRects() {
    const auto placeOf = [this](HWND control) {
        RECT r;
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return FromRECT(r);
    };
    templateScale_ = scale();
    for (int id : kMovingControls) {
        if (HWND control = Item(id)) templateRects_[id] = placeOf(control);
    }
    // Every control of the template (not the title bar and the Close
    // button the themed base made), for a move to another scale.
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child == titleBar().hwnd() || child == closeButton().hwnd()) continue;
        templatePlaces_.emplace_back(child, placeOf(child));
    }
}

Rect MainWindow::TemplateRect(int id) const {
    const auto found = templateRects_.find(id);
    return found == templateRects_.end() ? Rect{} : scale().From(found->second, templateScale_);
}

void MainWindow::AttachControls() {
    for (ThemedList* list : {&files_, &rules_, &favourites_}) list->SetScale(scale());
    files_.Attach(Item(IDC_FILE_LIST));
    rules_.Attach(Item(IDC_RULE_LIST));
    favourites_.Attach(Item(IDC_FAVOURITES));
    result_.Attach(Item(IDC_RESULT_LIST));
    result_.SetScale(scale());
    for (const ButtonLook& look : kButtonLooks) {
        CMacButton& button = buttons_[look.id];
        button.Attach(Item(look.id));
        button.SetScale(scale());
        button.SetIcon(look.icon);
        if (look.tooltip) button.AddTooltip(look.tooltip);
        if (look.id == IDC_HELP_BUTTON || look.id == IDC_THEME) button.SetArrowIcon(IDI_DROP_DOWN);
    }
    for (int id : kCheckBoxes) {
        checks_[id].Attach(Item(id));
        checks_[id].SetScale(scale());
    }
}

void MainWindow::CreateCaptionButtons() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    maximize_.Create(hwnd(), IDM_MAXIMIZE, "",
                     ToRECT(skin::CaptionButton(client.right, skin::kMaximizeFromRight, scale())), NormalFont(), 0);
    maximize_.SetScale(scale());
    maximize_.SetCaptionButton(true);
    maximize_.SetIcon(IDI_MAXIMIZE);
    maximize_.AddTooltip("Maximize");
    minimize_.Create(hwnd(), IDM_MINIMIZE, "",
                     ToRECT(skin::CaptionButton(client.right, skin::kMinimizeFromRight, scale())), NormalFont(), 0);
    minimize_.SetScale(scale());
    minimize_.SetCaptionButton(true);
    minimize_.SetIcon(IDI_MINIMIZE);
    minimize_.AddTooltip("Minimize");
    closeButton().AddTooltip("Close");
    captionReady_ = true;
}

Size MainWindow::FrameSize() const {
    RECT window{};
    RECT client{};
    ::GetWindowRect(hwnd(), &window);
    ::GetClientRect(hwnd(), &client);
    return Size{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

Size MainWindow::NeededWindow() const {
    std::vector<std::pair<int, Rect>> places;
    places.reserve(templatePlaces_.size());
    for (const auto& [control, r] : templatePlaces_)
        places.emplace_back(::GetDlgCtrlID(control), scale().From(r, templateScale_));
    const Size client = NeededClient(places, scale());
    const Size frame = FrameSize();
    return Size{client.width + frame.width, client.height + frame.height};
}

void MainWindow::ApplySettings() {
    // The smallest window stores the client size it has inside its frame;
    // the reader takes sizes down to that one back.
    const Size smallest = SmallestStoredClient(scale(), FromRECT(WorkAreaOf(hwnd())), FrameSize(), NeededWindow());
    const StoredSizeLimits limits{std::min(kMinWindowWidth, smallest.width),
                                  std::min(kMinWindowHeight, smallest.height)};
    const Settings s = LoadSettings(services_.fileSystem(), dataFolder_ + kSettingsFileName,
                                    services_.codePage(), limits);
    session_.files.SetMatchCase(s.caseSensitive);
    session_.files.SetExclude(s.exclude);
    session_.files.SetSubfolders(s.subdir);
    quickView_ = s.quickView;
    shellMenu_ = s.shellMenu;
    lastFolder_ = s.lastFolder;
    copyMoveFolder_ = s.copyMoveFolder;
    ThemedDialog::SetTheme(s.theme);
    restoreWidth_ = s.width;
    restoreHeight_ = s.height;
    startMaximized_ = s.maximized;
    MirrorSettingBoxes();
}

void MainWindow::MirrorSettingBoxes() {
    // The boxes take their states without running their commands.
    checks_[IDC_CASE].SetCheck(session_.files.filter().matchCase);
    checks_[IDC_EXCLUDE].SetCheck(session_.files.filter().exclude);
    checks_[IDC_SUBDIR].SetCheck(session_.files.subfolders());
    checks_[IDC_QUICKVIEW].SetCheck(quickView_);
    checks_[IDC_SHELL_MENU].SetCheck(shellMenu_);
}

void MainWindow::PlaceAtStart() {
    // The size to restore is the client area's (as it is recorded, in
    // 96-DPI units), so the window keeps its size and look from one start
    // to the next; it never opens larger than the work area of its screen,
    // and centred there its title bar is on that screen.
    PlacementInput in;
    in.storedClient = Size{restoreWidth_, restoreHeight_};
    in.scale = scale();
    in.frame = FrameSize();
    in.workArea = FromRECT(WorkAreaOf(hwnd()));
    in.needed = NeededWindow();
    const Rect r = PlaceWindow(in);
    ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    // The size it has now is the one to restore (a window that needed to
    // be larger or smaller than the stored size keeps its new one).
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    restoreWidth_ = scale().Design(client.right);
    restoreHeight_ = scale().Design(client.bottom);
}

void MainWindow::BuildMenus() {
    helpMenu_.SetScale(scale());
    themeMenu_.SetScale(scale());
    helpMenu_.SetFont(NormalFont());
    helpMenu_.SetWidth(130);
    helpMenu_.AppendThemedItem(IDM_ABOUT, "About...");
    helpMenu_.LoadItemIcon(IDM_ABOUT, IDI_ABOUT);
    helpMenu_.AppendThemedItem(IDM_MANUAL, "User manual");
    helpMenu_.LoadItemIcon(IDM_MANUAL, IDI_MANUAL);
    helpMenu_.AppendThemedItem(IDM_WEBSITE, "Visit our website");
    helpMenu_.LoadItemIcon(IDM_WEBSITE, IDI_WEBSITE);
    helpMenu_.AppendThemedItem(IDM_EMAIL, "Send email to us");
    helpMenu_.LoadItemIcon(IDM_EMAIL, IDI_EMAIL);
    helpMenu_.AppendThemedItem(IDM_UPDATE, "Online update");
    helpMenu_.LoadItemIcon(IDM_UPDATE, IDI_UPDATE);
    themeMenu_.SetFont(NormalFont());
    themeMenu_.SetWidth(130);
    for (int k = 0; k < kThemeCount; ++k) themeMenu_.AppendThemedItem(IDM_THEME_FIRST + k, ThemeName(k));
    themeMenu_.CheckOnly(IDM_THEME_FIRST, IDM_THEME_LAST, IDM_THEME_FIRST + theme());
}

void MainWindow::ReadHandoff() {
    const std::string path = dataFolder_ + kHandoffFileName;
    std::vector<std::string> entries;
    if (!TakeHandoffFile(services_.fileSystem(), services_.codePage(), path, entries)) return;
    for (const std::string& entry : entries) session_.files.Append(entry);
    session_.files.RebuildFileList();
}

// ---------------------------------------------------------------- themes and menus

void MainWindow::SetTheme(int index) {
    ThemedDialog::SetTheme(index);
    maximize_.SetTheme(index);
    minimize_.SetTheme(index);
    files_.SetTheme(index);
    rules_.SetTheme(index);
    favourites_.SetTheme(index);
    helpMenu_.SetTheme(index);
    themeMenu_.SetTheme(index);
    preview_.SetBackground(GetThemeColour(index, 1));
}

void MainWindow::OnThemeItem(int index) {
    themeMenu_.CheckOnly(IDM_THEME_FIRST, IDM_THEME_LAST, IDM_THEME_FIRST + index);
    SetTheme(index);
}

void MainWindow::OpenMenuBelow(const ThemedMenu& menu, int buttonId) {
    // The button's tooltip would otherwise pop up over the open menu while
    // the mouse rests on the button.
    CMacButton& button = buttons_[buttonId];
    button.HoldTooltip(true);
    menu.Track(hwnd(), ThemedMenu::BelowLeft(Item(buttonId)));
    button.HoldTooltip(false);
}

void MainWindow::OnHelpButton() { OpenMenuBelow(helpMenu_, IDC_HELP_BUTTON); }

void MainWindow::OnThemeButton() { OpenMenuBelow(themeMenu_, IDC_THEME); }

void MainWindow::OnAbout() {
    AboutDialog about(theme());
    about.Run(hwnd());
}

void MainWindow::OnManual() {
    const std::wstring path = WideFromNarrow(programFolder_ + "quorv2.chm");
    ::ShellExecuteW(hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::OnWebsite() { ::ShellExecuteA(hwnd(), "open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL); }

void MainWindow::OnEmail() { ::ShellExecuteA(hwnd(), "open", kSupportPage, nullptr, nullptr, SW_SHOWNORMAL); }

void MainWindow::OnOnlineUpdate() {
    // One check at a time: the menu chosen again while the site is asked
    // waits for the same answer.
    if (updateCheck_.Busy()) return;
    if (!updateCheck_.Start(UpdateAddress(kUpdateAddress, TestUpdateAddress()), InstalledVersion(), hwnd(),
                            kUpdateAnsweredMessage)) {
        ShowMessage(kNoConnectionMessage, theme(), hwnd());
        return;
    }
    // The background-work cursor until the answer is in (WM_SETCURSOR).
    ::SetCursor(::LoadCursor(nullptr, IDC_APPSTARTING));
}

bool MainWindow::OnUpdateAnswered(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = 0;
    ShowUpdateAnswer();
    return true;
}

bool MainWindow::OnTimer(UINT, WPARAM wParam, LPARAM, LRESULT& result) {
    if (wParam != kUpdateAnswerTimer) return false;
    result = 0;
    ShowUpdateAnswer();
    return true;
}

void MainWindow::ShowUpdateAnswer() {
    if (!updateCheck_.Busy()) {
        ::KillTimer(hwnd(), kUpdateAnswerTimer);
        return;
    }
    // An answer that comes in during a run or under a dialog of the window
    // (the folder picker has no owner: it is another active window of this
    // thread) waits until the window is the user's again.
    const HWND active = ::GetActiveWindow();
    if (running_ || !::IsWindowEnabled(hwnd()) || (active && active != hwnd())) {
        ::SetTimer(hwnd(), kUpdateAnswerTimer, kUpdateAnswerRetryMs, nullptr);
        return;
    }
    ::KillTimer(hwnd(), kUpdateAnswerTimer);
    const UpdateCheck check = updateCheck_.Take();
    RestoreCursor();
    if (check.answer != UpdateAnswer::Newer) {
        ShowMessage(check.message, theme(), hwnd());
        return;
    }
    if (!AskYesNo(check.message, theme(), hwnd())) return;
    const std::wstring page = WideFromNarrow(check.latest.downloadPage);
    ::ShellExecuteW(hwnd(), L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Closed as the exit question's Yes closes it: the settings are written.
    EndDialog(IDCANCEL);
}

bool MainWindow::OnSetCursor(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    // While the site is asked the window stays usable: the arrow with the
    // wait cursor over its client area (the frame's own cursors stay).
    if (!updateCheck_.Busy() || LOWORD(lParam) != HTCLIENT) return false;
    ::SetCursor(::LoadCursor(nullptr, IDC_APPSTARTING));
    result = TRUE;
    return true;
}

void MainWindow::RestoreCursor() {
    // The cursor the window would show now, without waiting for the mouse to move.
    POINT at;
    if (!::GetCursorPos(&at)) return;
    HWND under = ::WindowFromPoint(at);
    if (under == hwnd() || ::IsChild(hwnd(), under))
        ::SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                       MAKELPARAM(::SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), WM_MOUSEMOVE));
}

bool MainWindow::OnHelpRequest(UINT, WPARAM, LPARAM, LRESULT& result) {
    OnManual();
    result = TRUE;
    return true;
}

bool MainWindow::OnDrawItem(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_MENU) return false;  // the themed base passes it to the control
    result = (helpMenu_.DrawItem(item) || themeMenu_.DrawItem(item)) ? TRUE : FALSE;
    return true;
}

bool MainWindow::OnMeasureItem(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_MENU) return false;
    result = (helpMenu_.MeasureItem(item) || themeMenu_.MeasureItem(item)) ? TRUE : FALSE;
    return true;
}

bool MainWindow::OnCtlColorListBox(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    const HWND list = reinterpret_cast<HWND>(lParam);
    ThemedList* themed = list == files_.hwnd() ? &files_ : list == rules_.hwnd() ? &rules_
                       : list == favourites_.hwnd() ? &favourites_ : nullptr;
    if (!themed) return false;
    result = reinterpret_cast<LRESULT>(themed->BackgroundBrush());
    return true;
}

// ---------------------------------------------------------------- size and place

bool MainWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, LRESULT& result) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const Size least = MinimumWindow(scale(), FromRECT(WorkAreaOf(hwnd())), NeededWindow());
    info->ptMinTrackSize.x = least.width;
    info->ptMinTrackSize.y = least.height;
    result = 0;
    return true;
}

void MainWindow::SetScale(Scale newScale) {
    ThemedDialog::SetScale(newScale);
    if (!hwnd()) return;
    for (const auto& [control, r96] : templatePlaces_) {
        const Rect r = scale().From(r96, templateScale_);
        ::MoveWindow(control, r.left, r.top, r.width(), r.height(), FALSE);
    }
    for (ThemedList* list : {&files_, &rules_, &favourites_}) list->SetScale(scale());
    result_.SetScale(scale());
    for (ThemedMenu* menu : {&helpMenu_, &themeMenu_}) {
        menu->SetFont(NormalFont());
        menu->SetScale(scale());
    }
    preview_.SetScale(scale());
    SetIconsAndName();
    Relayout();
}

void MainWindow::PlaceAfterScaleChange(const RECT& suggested) {
    if (::IsZoomed(hwnd())) {
        ThemedDialog::PlaceAfterScaleChange(suggested);
        return;
    }
    const Size frame = FrameSize();
    const Size client = userDpi_ == scale().dpi() ? userClient_
                                                   : Size{scale().Px(restoreWidth_), scale().Px(restoreHeight_)};
    rescaling_ = true;
    ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, client.width + frame.width,
                   client.height + frame.height, SWP_NOZORDER | SWP_NOACTIVATE);
    rescaling_ = false;
}

void MainWindow::ShowMaximizedState(bool maximized) {
    maximizeShowsRestore_ = maximized;
    maximize_.SetIcon(maximized ? IDI_RESTORE : IDI_MAXIMIZE);
}

bool MainWindow::OnSize(UINT, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    LayoutCaption();
    if (!captionReady_ || wParam == SIZE_MINIMIZED) return false;
    if (wParam == SIZE_RESTORED && holdMaximized_) {
        // Not the user's restore: the window started maximized and stays so.
        holdMaximized_ = false;
        ::PostMessageA(hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return false;
    }
    // However the window was maximized or restored (the button, the system
    // menu, a key, a double click), the button shows what it does next.
    const bool maximized = wParam == SIZE_MAXIMIZED;
    if (maximized != maximizeShowsRestore_) ShowMaximizedState(maximized);
    if (!maximized && !rescaling_) {
        restoreWidth_ = scale().Design(LOWORD(lParam));
        restoreHeight_ = scale().Design(HIWORD(lParam));
        userClient_ = Size{LOWORD(lParam), HIWORD(lParam)};
        userDpi_ = scale().dpi();
    }
    Relayout();
    result = 0;
    return true;
}

void MainWindow::Relayout() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    PlaceCaptionButton(maximize_, skin::kMaximizeFromRight);
    PlaceCaptionButton(minimize_, skin::kMinimizeFromRight);
    LayoutInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.quickView = quickView_;
    in.scale = scale();
    for (const auto& [id, r] : templateRects_) in.initial[id] = TemplateRect(id);
    const std::map<int, Rect> placed = MainWindowLayout(in);
    const HDWP none = nullptr;
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(placed.size()));
    for (const auto& [id, r] : placed) {
        HWND control = Item(id);
        if (!control) continue;
        if (batch != none)
            batch = ::DeferWindowPos(batch, control, nullptr, r.left, r.top, r.width(), r.height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ::MoveWindow(control, r.left, r.top, r.width(), r.height(), TRUE);
    }
    if (batch != none) ::EndDeferWindowPos(batch);
    const auto frame = placed.find(IDC_QUICKVIEW_FRAME);
    if (frame != placed.end()) preview_.Place(ToRECT(frame->second));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

bool MainWindow::OnPaint(UINT, WPARAM, LPARAM, LRESULT&) {
    if (firstPaintPending_) {
        firstPaintPending_ = false;
        if (startMaximized_) {
            ::ShowWindow(hwnd(), SW_MAXIMIZE);
            holdMaximized_ = true;
        } else {
            Relayout();
        }
    }
    return false;  // the dialog paints as usual
}

void MainWindow::OnMinimize() {
    holdMaximized_ = false;
    ::ShowWindow(hwnd(), SW_MINIMIZE);
}

bool MainWindow::OnSysCommand(UINT, WPARAM wParam, LPARAM, LRESULT&) {
    // The system menu and its keys change the window as the user asks,
    // except for the one maximize that keeps the start's state.
    if ((wParam & 0xFFF0) != SC_MAXIMIZE) holdMaximized_ = false;
    return false;  // the system does the rest
}

void MainWindow::OnMaximize() {
    holdMaximized_ = false;
    // The button's icon follows in WM_SIZE.
    ::ShowWindow(hwnd(), ::IsZoomed(hwnd()) ? SW_RESTORE : SW_MAXIMIZE);
}

// ---------------------------------------------------------------- keys

LRESULT CALLBACK MainWindow::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && g_keyWindow && lParam) {
        try {
            if (g_keyWindow->PreprocessKey(*reinterpret_cast<const MSG*>(lParam))) return TRUE;
        } catch (...) {
            WriteErrorLog("Unexpected failure while handling a key.");
            return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MainWindow::PreprocessKey(const MSG& message) {
    // Every key command changes the session, which a run owns until it
    // ends: meanwhile the keys take their normal course.
    if (message.message != WM_KEYDOWN || !hwnd() || running_) return false;
    if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd)) return false;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    switch (KeyCommandFor(static_cast<int>(message.wParam), ctrl, FocusControlId(hwnd()), FocusedEditHasSelection())) {
    case KeyCommand::None:
        return false;
    case KeyCommand::SelectAllFiles:
        OnSelectAll();
        return true;
    case KeyCommand::InvertSelection:
        OnInvertSelection();
        return true;
    case KeyCommand::CopyFiles:
        OnCopyFiles();
        return true;
    case KeyCommand::MoveFiles:
        OnMoveFiles();
        return true;
    case KeyCommand::RemoveFiles:
        OnRemoveSelected();
        return true;
    case KeyCommand::DeleteRules:
        OnDeleteRule();
        return true;
    }
    return false;
}

bool MainWindow::OnVKeyToItem(UINT, WPARAM, LPARAM, LRESULT& result) {
    result = -1;  // the list box does its own thing with every other key
    return true;
}

// ---------------------------------------------------------------- closing

void MainWindow::OnExitQuestion() {
    if (AskYesNo(std::string("Do you want to exit \"") + kProgramName + "\"?", theme(), hwnd())) EndDialog(IDCANCEL);
}

void MainWindow::OnEnter() {}  // the dialog's default action does nothing

bool MainWindow::OnDestroy(UINT, WPARAM, LPARAM, LRESULT&) {
    // What the settings file keeps; the maximized state is the window's own
    // and is taken while the window still exists.
    closing_.caseSensitive = session_.files.filter().matchCase;
    closing_.quickView = quickView_;
    closing_.exclude = session_.files.filter().exclude;
    closing_.subdir = session_.files.subfolders();
    closing_.lastFolder = lastFolder_;
    closing_.copyMoveFolder = copyMoveFolder_;
    closing_.shellMenu = shellMenu_;
    closing_.theme = theme();
    closing_.maximized = ::IsZoomed(hwnd()) != FALSE;
    if (keyHook_) {
        ::UnhookWindowsHookEx(keyHook_);
        keyHook_ = nullptr;
    }
    ::KillTimer(hwnd(), kUpdateAnswerTimer);
    // A check still asking the site posts nothing to a window that is gone.
    updateCheck_.Abandon();
    if (dropTarget_) dropTarget_->Revoke();
    dropTarget_.reset();
    return false;
}

void MainWindow::OnDetached() {
    // The window is gone: write its settings, with the last size it had
    // while it was not maximized.
    closing_.width = restoreWidth_;
    closing_.height = restoreHeight_;
    SaveSettings(services_.fileSystem(), dataFolder_ + kSettingsFileName, closing_);
}

}  // namespace quorv::win
