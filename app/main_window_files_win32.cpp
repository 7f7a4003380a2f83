// The main window's file list, its runs (Preview, Rename, Undo), its batch
// files, and the mirroring of the session into the controls.
#include <windows.h>
#include <shellapi.h>

#include "app/file_dialogs_win32.h"
#include "app/main_window_win32.h"
#include "app/resource.h"
#include "batch/run_journal.h"
#include "batch/session_commands.h"
#include "batch/undo.h"
#include "platform/raii_win32.h"
#include "skin/message_dialog_win32.h"
#include "skin/paint_win32.h"
#include "skin/result_view_win32.h"
#include "skin/wait_window_win32.h"
#include "system/text_win32.h"
#include "tools/folder_picker_win32.h"
#include "view/file_drop.h"
#include "view/main_layout.h"

namespace quorv::win {
namespace {

const FileFilter kBatchFilter{"Quorvane File (*.qvb)", "*.qvb"};

// Marks a run of the window: no command may change the session meanwhile.
class RunningScope {
public:
    explicit RunningScope(bool& running) : running_(running) { running_ = true; }
    ~RunningScope() { running_ = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    bool& running_;
};

}  // namespace

// ---------------------------------------------------------------- mirroring

void MainWindow::MirrorFiles(ListPlace place) {
    const FileList& files = session_.files;
    const ListFollow follow = HowToFollow(shownFileRevision_, files.revision(), files.lastChange(),
                                          static_cast<std::size_t>(files_.Count()));
    if (follow != ListFollow::Nothing) {
        const ThemedList::TextAt text = [&files](std::size_t i) -> const std::string& { return files.DisplayedText(i); };
        const int top = files_.TopIndex();
        mirroring_ = true;
        switch (follow) {
        case ListFollow::SwapRows: {
            // One entry moved: the two rows trade places in the box too.
            const int first = static_cast<int>(files.lastChange().first);
            files_.MoveItem(first + 1, first);
            break;
        }
        case ListFollow::DeleteRows:
            files_.DeleteItems(files.lastChange().removed, files.DisplayedCount(), text);
            break;
        default:
            files_.SetItems(files.DisplayedCount(), text);
            break;
        }
        // The box keeps the first visible row as far as its length allows.
        if (place != ListPlace::FromTop) files_.SetTopIndex(top);
        mirroring_ = false;
        shownFileRevision_ = files.revision();
        shownSelectionRevision_ = ~std::uint64_t{0};
        ForgetGonePreview();
    }
    MirrorFileSelection(place);
}

void MainWindow::MirrorFileSelection(ListPlace place) {
    const FileList& files = session_.files;
    if (files.selectionRevision() == shownSelectionRevision_) return;
    std::vector<bool> mask(files.DisplayedCount());
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = files.IsSelected(i);
    mirroring_ = true;
    files_.SetSelection(mask);
    // The focus rectangle moves only when the focus did: a command that
    // leaves the focus where it was (select all, invert) leaves the view
    // where the user scrolled it.
    const int focus = static_cast<int>(files.Focus());
    if (focus >= 0 && files_.CaretIndex() != focus) {
        const int top = files_.TopIndex();
        files_.SetCaretIndex(focus);  // scrolled into view only when hidden
        if (place == ListPlace::KeepExactly) files_.SetTopIndex(top);
    }
    mirroring_ = false;
    shownSelectionRevision_ = files.selectionRevision();
}

void MainWindow::ForgetGonePreview() {
    // The quick preview never goes on showing a file the list no longer has.
    if (previewedPath_.empty()) return;
    const FileList& files = session_.files;
    for (std::size_t i = 0; i < files.DisplayedCount(); ++i)
        if (files.DisplayedText(i) == previewedPath_) return;
    preview_.Clear();
    previewedPath_.clear();
}

void MainWindow::ReadFileSelectionBack() {
    FileList& files = session_.files;
    const std::vector<bool> mask = files_.SelectionMask();
    for (std::size_t i = 0; i < files.DisplayedCount(); ++i) files.SetSelected(i, i < mask.size() && mask[i]);
    files.SetFocus(files_.CaretIndex());
    shownSelectionRevision_ = files.selectionRevision();
}

void MainWindow::MirrorStatus() { SetWindowTextNarrow(Item(IDC_STATUS), session_.statusLine); }

void MainWindow::MirrorResult() {
    // The view takes the narrow text as it is: no wide copy of a run's
    // megabytes on the way.
    result_.SetText(session_.resultText);
}

void MainWindow::MirrorUndo() {
    const bool enabled = session_.files.UndoEnabled();
    const HWND undo = Item(IDC_UNDO);
    if ((::IsWindowEnabled(undo) != FALSE) != enabled) {
        ::EnableWindow(undo, enabled ? TRUE : FALSE);
        ::InvalidateRect(undo, nullptr, TRUE);
    }
}

void MainWindow::MirrorAll() {
    MirrorFiles();
    MirrorRules();
    MirrorStatus();
    MirrorUndo();
}

// ---------------------------------------------------------------- gathering

void MainWindow::OnAddFiles() {
    std::vector<std::string> paths;
    std::string dialogPath;
    if (AskOpenFiles(hwnd(), lastFolder_, paths, dialogPath)) {
        std::string folder;
        {
            WaitCursor wait;
            folder = AddFilesCommand(session_, paths);
        }
        // The folder of the files, never the one file's own path that the
        // dialog gives back for a single choice: the pickers start there.
        if (!folder.empty()) lastFolder_ = folder;
    } else {
        RefreshStatusLine(session_);  // also after a cancel
    }
    MirrorAll();
}

bool MainWindow::PickFolderFor(std::string& folder) {
    // The picker is modal to the main window, so that no second command
    // starts while it is open.
    const std::string title = folder;
    return PickFolder(folder, title, hwnd());
}

void MainWindow::OnAddDir() {
    std::string folder = lastFolder_;
    if (PickFolderFor(folder)) {
        // A character whose trail byte equals the separator does not end the folder.
        folder = FolderWithSeparator(folder, services_.codePage(), services_.separator());
        lastFolder_ = folder;
        WaitCursor wait;
        AddFolderCommand(session_, services_.fileSystem(), folder);
    } else {
        RefreshStatusLine(session_);
    }
    MirrorAll();
}

// ---------------------------------------------------------------- list commands

void MainWindow::OnRemoveSelected() {
    RemoveSelectedCommand(session_);
    MirrorFiles(ListPlace::Keep);
    MirrorAll();
}

void MainWindow::OnRemoveAll() {
    RemoveAllCommand(session_);
    MirrorAll();
}

void MainWindow::OnFileUp() {
    session_.files.MoveFocusedUp();
    MirrorFiles(ListPlace::Keep);
    MirrorUndo();
}

void MainWindow::OnFileDown() {
    session_.files.MoveFocusedDown();
    MirrorFiles(ListPlace::Keep);
    MirrorUndo();
}

void MainWindow::OnSort() {
    WaitCursor wait;
    session_.files.SortByName();
    MirrorFiles(ListPlace::KeepExactly);
    MirrorUndo();
}

void MainWindow::OnSelectAll() {
    session_.files.SelectAll();
    MirrorFileSelection();
}

void MainWindow::OnInvertSelection() {
    session_.files.InvertSelection();
    MirrorFileSelection();
}

void MainWindow::OnFilterChanged() {
    if (mirroring_) return;
    const std::string text = WindowText(Item(IDC_FILTER));
    WaitCursor wait;
    session_.files.SetFilterText(text);
    MirrorFiles();
    MirrorUndo();
}

void MainWindow::OnCaseClicked() {
    WaitCursor wait;
    session_.files.SetMatchCase(checks_[IDC_CASE].GetCheck());
    MirrorFiles();
    MirrorUndo();
}

void MainWindow::OnExcludeClicked() {
    WaitCursor wait;
    session_.files.SetExclude(checks_[IDC_EXCLUDE].GetCheck());
    MirrorFiles();
    MirrorUndo();
}

void MainWindow::OnSubdirClicked() { session_.files.SetSubfolders(checks_[IDC_SUBDIR].GetCheck()); }

void MainWindow::OnFileSelectionChanged() {
    if (mirroring_) return;
    ReadFileSelectionBack();
    ShowQuickView();
}

void MainWindow::OnFileDoubleClick() {
    const FileList& files = session_.files;
    if (files.DisplayedCount() == 0 || files.Focus() < 0) return;
    const std::wstring path = WideFromNarrow(files.DisplayedText(static_cast<std::size_t>(files.Focus())));
    ::ShellExecuteW(hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---------------------------------------------------------------- runs

void MainWindow::RunBatch(RunMode mode) {
    if (const char* refusal = RunRefusal(session_)) {
        ShowMessage(refusal, theme(), hwnd());
        return;
    }
    // No file of a rename may stay open in a player.
    if (mode == RunMode::Rename) preview_.StopPreviews();
    RunningScope scope(running_);
    WaitCursor wait;
    RunServices services = MakeRunServices(EngineContextOf(services_));
    // The wait window is told as often as its bar can show a change: each
    // step is a wake-up of its thread, and one per file slowed a run of
    // 100,000 files down several times.
    const std::size_t count = session_.files.DisplayedCount();
    services.step = [count](std::size_t index) {
        if (WaitStepShown(index, count)) StepWait(static_cast<int>(index));
    };
    StartWait(kWaitCaption, static_cast<int>(session_.files.DisplayedCount()), theme());
    // A rename writes its journal before the first move and removes it when
    // the run is whole; a run that cannot write it does not start.
    std::string journalError;
    try {
        if (mode == RunMode::Rename) {
            const JournaledRenameResult renamed =
                RenameWithJournal(session_, services_.fileSystem(), services, RunJournalPath());
            if (renamed.journalFailed) journalError = renamed.command.message;
        } else {
            PreviewCommand(session_, services_.fileSystem(), services);
        }
    } catch (...) {
        StopWait();
        throw;
    }
    StopWait();
    if (!journalError.empty()) ShowFileError(journalError);
    MirrorResult();
    MirrorUndo();
    if (mode == RunMode::Rename) MirrorStatus();
}

std::string MainWindow::RunJournalPath() const { return dataFolder_ + kRunJournalName; }

void MainWindow::OfferToTakeBackUnfinishedRun() {
    FileSystem& fs = services_.fileSystem();
    const std::string path = RunJournalPath();
    if (!fs.Exists(path)) return;
    const UnfinishedRun left = FindUnfinishedRun(fs, path, services_.codePage());
    // A journal that cannot be read whole says nothing sure about the files:
    // it is left alone (the next rename replaces it).
    if (!left.found) return;
    // Asked once: Yes takes the run back and removes the journal, No (or a
    // journal with nothing left to move back) removes it at once.
    if (left.files > 0 && AskYesNo(UnfinishedRunQuestion(left.files), theme(), hwnd())) {
        {
            WaitCursor wait;
            RollBackUnfinishedRun(session_, fs, path, left.journal);
        }
        MirrorResult();
        MirrorStatus();
        return;
    }
    fs.Delete(path);
}

bool MainWindow::OnAskAboutUnfinishedRun(UINT, WPARAM, LPARAM, LRESULT& result) {
    OfferToTakeBackUnfinishedRun();
    result = 0;
    return true;
}

void MainWindow::OnPreview() { RunBatch(RunMode::Preview); }

void MainWindow::OnRename() { RunBatch(RunMode::Rename); }

void MainWindow::OnUndo() {
    if (!session_.files.UndoEnabled()) return;
    RunningScope scope(running_);
    WaitCursor wait;
    UndoRename(session_, services_.fileSystem());
    MirrorResult();
    MirrorUndo();
    MirrorStatus();
}

// ---------------------------------------------------------------- batch files

void MainWindow::ShowFileError(const std::string& text) {
    ::MessageBoxW(hwnd(), WideFromNarrow(text).c_str(), WideFromNarrow(kProgramName).c_str(), MB_OK | MB_ICONSTOP);
}

void MainWindow::OnSaveBatch() {
    std::string path;
    if (!AskSaveFile(hwnd(), kBatchFilter, "qvb", dataFolder_, path)) return;
    SaveResult saved;
    {
        WaitCursor wait;
        saved = SaveBatchFile(services_.fileSystem(), path, MakeBatchFile(session_));
    }
    if (!saved.saved()) ShowFileError(saved.errorText);  // not opened or not written whole
}

void MainWindow::OnLoadBatch() {
    std::string path;
    if (AskOpenFile(hwnd(), kBatchFilter, dataFolder_, path)) LoadBatchFrom(path);
}

void MainWindow::LoadBatchFrom(const std::string& path) {
    BatchLoadResult loaded;
    {
        WaitCursor wait;
        loaded = LoadBatchFile(services_.fileSystem(), path, services_.codePage());
        if (!loaded.opened) return;
        ApplyBatchFile(session_, loaded.read);
        if (loaded.read.ok()) ruleSelection_.Reset(session_.rules.size());
    }
    // Loading leaves the status line and the result list as they were.
    MirrorFiles();
    MirrorRules();
    MirrorUndo();
    if (!loaded.read.ok()) ShowFileError(loaded.errorText);
}

// ---------------------------------------------------------------- files dropped on the window

bool MainWindow::DropWelcome() const {
    // Nothing may change the session during a run, nor under a dialog of
    // the window (a message, a file dialog, the folder picker).
    return !running_ && hwnd() && ::IsWindowEnabled(hwnd());
}

bool MainWindow::OnDroppedFiles(UINT, WPARAM, LPARAM, LRESULT& result) {
    std::vector<std::vector<std::string>> drops;
    drops.swap(drops_);
    result = 0;
    // A drop during a run is ignored, as every command is.
    if (running_) return true;
    for (const std::vector<std::string>& paths : drops) TakeDrop(paths);
    return true;
}

void MainWindow::TakeDrop(const std::vector<std::string>& paths) {
    FileSystem& fs = services_.fileSystem();
    switch (ClassifyDrop(fs, services_.codePage(), paths)) {
    case DropKind::LoadRuleFile:
        LoadRulesFrom(paths.front(), true);  // as a favourite
        return;
    case DropKind::LoadBatchFile:
        LoadBatchFrom(paths.front());
        return;
    case DropKind::AddItems:
        break;
    }
    {
        WaitCursor wait;
        AddDroppedItems(session_, fs, paths);
    }
    MirrorAll();
}

}  // namespace quorv::win
