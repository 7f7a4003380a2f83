// The main window's rules builder, rule list, rule files and favourites,
// and its side tools: copy and move, the quick preview, the context-menu
// switch.
#include "app/file_dialogs_win32.h"
#include "app/main_window_win32.h"
#include "app/resource.h"
#include "app/shell_registration_win32.h"
#include "batch/copy_move.h"
#include "builder/rule_file.h"
#include "skin/message_dialog_win32.h"
#include "skin/paint_win32.h"
#include "system/text_win32.h"

#include <optional>

namespace quorv::win {
namespace {

const FileFilter kRuleFilter{"Quorvane Rule File (*.qvr)", "*.qvr"};

// Shows one builder box in its combo box: the list, then the selected entry
// or the text.
void ShowBox(HWND combo, const BuilderBox& box, bool withEnabled) {
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : box.entries)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromNarrow(entry).c_str()));
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(box.selected), 0);
    if (box.selected < 0) SetWindowTextNarrow(combo, box.text);
    if (withEnabled) ::EnableWindow(combo, box.enabled ? TRUE : FALSE);
}

}  // namespace

// ---------------------------------------------------------------- mirroring

void MainWindow::MirrorRules() {
    ruleSelection_.Fit(session_.rules.size());
    mirroring_ = true;
    rules_.SetItems(session_.rules);
    std::vector<bool> mask(session_.rules.size());
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = ruleSelection_.IsSelected(i);
    rules_.SetSelection(mask);
    if (ruleSelection_.Caret() >= 0) rules_.SetCaretIndex(static_cast<int>(ruleSelection_.Caret()));
    mirroring_ = false;
}

void MainWindow::ReadRuleSelectionBack() {
    ruleSelection_.Fit(session_.rules.size());
    const std::vector<bool> mask = rules_.SelectionMask();
    for (std::size_t i = 0; i < session_.rules.size(); ++i) ruleSelection_.SetSelected(i, i < mask.size() && mask[i]);
    ruleSelection_.SetCaret(rules_.CaretIndex());
}

void MainWindow::MirrorBuilder(unsigned parts) {
    mirroring_ = true;
    if (parts & kTargetBoxPart) ShowBox(Item(IDC_TARGET), builder_.target, false);
    if (parts & kActionBoxPart) ShowBox(Item(IDC_ACTION), builder_.action, false);
    if (parts & kParameterBoxPart) ShowBox(Item(IDC_PARAMETER), builder_.parameter, false);
    if (parts & kValueLabelPart) SetWindowTextNarrow(Item(IDC_VALUE_LABEL), builder_.valueLabel);
    if (parts & kValueBoxPart) ShowBox(Item(IDC_VALUE), builder_.value, true);
    mirroring_ = false;
}

// ---------------------------------------------------------------- the builder

void MainWindow::OnTargetChanged() {
    if (mirroring_) return;
    const int index = static_cast<int>(::SendMessageA(Item(IDC_TARGET), CB_GETCURSEL, 0, 0));
    MirrorBuilder(SelectTarget(builder_, index));
}

void MainWindow::OnActionChanged() {
    if (mirroring_) return;
    const int index = static_cast<int>(::SendMessageA(Item(IDC_ACTION), CB_GETCURSEL, 0, 0));
    MirrorBuilder(SelectAction(builder_, index));
}

void MainWindow::OnParameterPicked() {
    if (mirroring_) return;
    const int index = static_cast<int>(::SendMessageA(Item(IDC_PARAMETER), CB_GETCURSEL, 0, 0));
    MirrorBuilder(PickParameter(builder_, index));
}

void MainWindow::OnParameterTyped() {
    if (mirroring_) return;
    MirrorBuilder(TypeParameter(builder_, WindowText(Item(IDC_PARAMETER))));
}

void MainWindow::OnValuePicked() {
    if (mirroring_) return;
    const int index = static_cast<int>(::SendMessageA(Item(IDC_VALUE), CB_GETCURSEL, 0, 0));
    MirrorBuilder(PickValue(builder_, index));
}

void MainWindow::OnValueTyped() {
    if (mirroring_) return;
    MirrorBuilder(TypeValue(builder_, WindowText(Item(IDC_VALUE))));
}

ComposeContext MainWindow::BuilderContext() {
    return ComposeContext{services_.codePage(), lastFolder_,
                          [this](std::string& folder) { return PickFolderFor(folder); }, services_.separator()};
}

// ---------------------------------------------------------------- the rule list

void MainWindow::OnRuleSelectionChanged() {
    if (mirroring_) return;
    ReadRuleSelectionBack();
    MirrorBuilder(FillBuilderFromRule(builder_, session_.rules, ruleSelection_, services_.codePage(),
                                      services_.separator()));
}

void MainWindow::OnAddRule() {
    const RuleEditResult edited = AddRule(session_, ruleSelection_, builder_, BuilderContext());
    if (!edited.message.empty()) ShowMessage(edited.message, theme(), hwnd());
    if (edited.changed) {
        MirrorRules();
        MirrorStatus();
    }
}

void MainWindow::OnUpdateRule() {
    const RuleEditResult edited = UpdateRule(session_, ruleSelection_, builder_, BuilderContext());
    if (!edited.message.empty()) ShowMessage(edited.message, theme(), hwnd());
    if (edited.changed) {
        MirrorRules();
        MirrorStatus();
    }
}

void MainWindow::OnDeleteRule() {
    DeleteSelectedRules(session_, ruleSelection_);
    MirrorRules();
    MirrorStatus();
}

void MainWindow::OnRuleUp() {
    if (MoveRuleUp(session_.rules, ruleSelection_)) MirrorRules();
}

void MainWindow::OnRuleDown() {
    if (MoveRuleDown(session_.rules, ruleSelection_)) MirrorRules();
}

// ---------------------------------------------------------------- rule files and favourites

void MainWindow::FillFavourites() {
    favouriteFiles_ = ListFavouriteFiles(services_.fileSystem(), programFolder_, dataFolder_);
    std::vector<std::string> titles;
    titles.reserve(favouriteFiles_.size());
    for (const Favourite& favourite : favouriteFiles_) titles.push_back(favourite.title);
    mirroring_ = true;
    favourites_.SetItems(titles);
    mirroring_ = false;
}

void MainWindow::OnLoadRules() {
    std::string path;
    if (AskOpenFile(hwnd(), kRuleFilter, dataFolder_, path)) LoadRulesFrom(path, false);
}

void MainWindow::LoadRulesFrom(const std::string& path, bool refreshStatus) {
    RuleLoadResult loaded;
    {
        WaitCursor wait;
        loaded = LoadRuleFile(services_.fileSystem(), path, services_.codePage());
        if (loaded.opened && loaded.ok) {
            session_.rules = loaded.rules;
            ruleSelection_.Reset(session_.rules.size());
            MirrorRules();
        }
    }
    if (refreshStatus) {
        RefreshStatusLine(session_);
        MirrorStatus();
    }
    if (loaded.opened && !loaded.ok) ShowFileError(loaded.errorText);
}

void MainWindow::OnSaveRules() {
    std::string path;
    // Rule files are saved among the user's own favourites. The installed
    // copy's user may not have that folder yet (a portable copy keeps
    // today's way: the favourites folder is never made).
    const std::string favourites = FavouritesFolder(dataFolder_);
    if (dataFolder_ != programFolder_) services_.fileSystem().CreateFolder(favourites);
    if (!AskSaveFile(hwnd(), kRuleFilter, "qvr", favourites, path)) return;
    SaveResult saved;
    {
        WaitCursor wait;
        saved = SaveRuleFile(services_.fileSystem(), path, session_.rules);
        if (RescanFavouritesAfter(saved)) FillFavourites();
    }
    if (!saved.saved()) ShowFileError(saved.errorText);  // not opened or not written whole
}

void MainWindow::OnFavouriteChosen() {
    if (mirroring_) return;
    const int index = favourites_.CurrentSelection();
    if (index < 0 || static_cast<std::size_t>(index) >= favouriteFiles_.size()) return;
    LoadRulesFrom(favouriteFiles_[static_cast<std::size_t>(index)].path, true);
}

// ---------------------------------------------------------------- copy and move

void MainWindow::OnCopyFiles() {
    // The wait cursor from the folder's choice until the files are done.
    std::optional<WaitCursor> wait;
    const TransferCommandResult done = TransferCommand(
        TransferKind::Copy, services_.fileSystem(), session_.files, services_.codePage(), copyMoveFolder_,
        [this](std::string& folder) { return PickFolderFor(folder); }, [&wait] { wait.emplace(); });
    wait.reset();
    if (!done.message.empty()) ShowMessage(done.message, theme(), hwnd());
}

void MainWindow::OnMoveFiles() {
    std::optional<WaitCursor> wait;
    const TransferCommandResult done = TransferCommand(
        TransferKind::Move, services_.fileSystem(), session_.files, services_.codePage(), copyMoveFolder_,
        [this](std::string& folder) { return PickFolderFor(folder); },
        [this, &wait] {
            // A file the preview plays must be let go before it moves; a
            // cancelled picker leaves the preview playing.
            preview_.StopPreviews();
            wait.emplace();
        });
    if (done.listChanged) {
        RefreshStatusLine(session_);
        MirrorAll();
    }
    wait.reset();
    if (!done.message.empty()) ShowMessage(done.message, theme(), hwnd());
}

// ---------------------------------------------------------------- quick preview

void MainWindow::ApplyQuickView() {
    ::ShowWindow(Item(IDC_QUICKVIEW_FRAME), quickView_ ? SW_SHOW : SW_HIDE);
    preview_.SetVisible(quickView_);
    Relayout();
    if (quickView_) ShowQuickView();
}

void MainWindow::ShowQuickView() {
    const FileList& files = session_.files;
    if (!quickView_) return;
    if (files.DisplayedCount() == 0 || files.Focus() < 0) {
        // Nothing listed: nothing shown (the pane may still hold a file
        // from before the list was emptied).
        preview_.Clear();
        previewedPath_.clear();
        return;
    }
    previewedPath_ = files.DisplayedText(static_cast<std::size_t>(files.Focus()));
    preview_.ShowFile(previewedPath_);
}

void MainWindow::OnQuickView() {
    quickView_ = checks_[IDC_QUICKVIEW].GetCheck();
    ApplyQuickView();
}

// ---------------------------------------------------------------- the context menu

void MainWindow::OnShellMenu() {
    const ShellMenuBoxOutcome outcome = OnShellMenuBoxClicked(checks_[IDC_SHELL_MENU].GetCheck());
    for (const std::string& message : outcome.messages) ShowMessage(message, theme(), hwnd());
    shellMenu_ = outcome.checked;
    checks_[IDC_SHELL_MENU].SetCheck(shellMenu_);
}

}  // namespace quorv::win
