// quorv preview / rename / undo: the batch runs of the main window without
// the window. Files come as paths, from a list file, or from a folder
// scanned and filtered exactly as Add Dir does it.
#include <cstdio>
#include <string>
#include <vector>

#include "batch/batch_file.h"
#include "batch/rename_run.h"
#include "batch/run_journal.h"
#include "batch/session_commands.h"
#include "batch/undo.h"
#include "cli/args.h"
#include "cli/verbs.h"
#include "engine/apply_rules.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "system/system.h"

namespace quorv::cli {
namespace {

// What preview and rename read from their arguments.
struct RunArgs {
    std::vector<std::string> rules;
    std::vector<std::string> paths;      // PATH... and --list, in order
    std::vector<std::string> folders;    // --dir
    bool subdir = false;
    bool matchCase = false;
    bool exclude = false;
    bool haveFilter = false;
    std::string filter;
    std::string saveBatch;               // rename only
};

// The lines of a list file: one path a line, CR LF or LF, blank lines skipped.
std::vector<std::string> ReadListFile(FileSystem& fs, const std::string& path) {
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) throw UsageError("cannot read the list file " + path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

RunArgs ParseRunArgs(const char* verb, const Args& args, bool allowSaveBatch, FileSystem& fs) {
    RunArgs r;
    bool endOfOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!endOfOptions && arg == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && TakeRuleOption(args, i, r.rules)) {
            continue;
        } else if (!endOfOptions && arg == "--list") {
            const std::string& list = OptionValue(args, i);
            for (auto& p : ReadListFile(fs, list)) r.paths.push_back(std::move(p));
        } else if (!endOfOptions && arg == "--dir") {
            r.folders.push_back(OptionValue(args, i));
        } else if (!endOfOptions && arg == "--subdir") {
            r.subdir = true;
        } else if (!endOfOptions && arg == "--filter") {
            r.filter = OptionValue(args, i);
            r.haveFilter = true;
        } else if (!endOfOptions && arg == "--case") {
            r.matchCase = true;
        } else if (!endOfOptions && arg == "--exclude") {
            r.exclude = true;
        } else if (!endOfOptions && allowSaveBatch && arg == "--save-batch") {
            r.saveBatch = OptionValue(args, i);
        } else if (!endOfOptions && IsOption(arg)) {
            throw UsageError(std::string(verb) + ": unknown option " + arg);
        } else {
            r.paths.push_back(arg);
        }
    }
    if (r.rules.empty()) throw UsageError(std::string(verb) + ": no rule given (--rule LINE or --rules F.qvr)");
    if (r.paths.empty() && r.folders.empty())
        throw UsageError(std::string(verb) + ": no files given (PATH..., --list F or --dir D)");
    if ((r.subdir || r.haveFilter || r.matchCase || r.exclude) && r.folders.empty())
        throw UsageError(std::string(verb) + ": --subdir, --filter, --case and --exclude go with --dir");
    return r;
}

// Fills the session's file list as the window would: each path through
// AppendUnique, each folder scanned as Add Dir scans it, then one rebuild
// through the filter.
void GatherFiles(BatchSession& session, FileSystem& fs, const RunArgs& r) {
    FileList& files = session.files;
    for (const auto& p : r.paths) files.AppendUnique(p);
    files.SetSubfolders(r.subdir);
    for (const auto& folder : r.folders) {
        FileStatus st;
        if (!fs.GetStatus(folder, st) || !st.IsFolder()) throw UsageError("cannot read the folder " + folder);
        std::string pattern = folder;
        if (pattern.empty() || pattern.back() != fs.Separator()) pattern += fs.Separator();
        files.ScanFolder(fs, pattern + "*.*", r.subdir);
    }
    FilterSettings f;
    f.text = r.filter;
    f.matchCase = r.matchCase;
    f.exclude = r.exclude;
    files.SetMatchCase(f.matchCase);
    files.SetExclude(f.exclude);
    files.SetFilterText(f.text);  // rebuilds
}

void SaveOrThrow(FileSystem& fs, const std::string& path, const BatchSession& session) {
    const SaveResult saved = SaveBatchFile(fs, path, MakeBatchFile(session));
    if (saved.outcome == SaveResult::Outcome::NotOpened) throw UsageError("cannot write the batch file " + path);
    if (saved.outcome == SaveResult::Outcome::WriteFailed) throw UsageError(path + ": " + saved.errorText);
}

int RunBatch(const char* verb, const Args& args, RunMode mode) {
    const Services& system = SystemServices();
    FileSystem& fs = system.fileSystem();
    const RunArgs r = ParseRunArgs(verb, args, mode == RunMode::Rename, fs);
    BatchSession session(system);
    session.rules = r.rules;
    GatherFiles(session, fs, r);
    // Refused before the batch file is written: a run that does not go
    // ahead leaves nothing behind.
    if (const char* refusal = RunRefusal(session)) throw UsageError(std::string(verb) + ": " + refusal);

    RunServices services = MakeRunServices(EngineContextOf(system));
    services.threads = NewPathThreads(system.codePage(), session.rules);
    // The batch file is the run's journal: written with the plan before the
    // first file moves (a rename that cannot be undone must not start by
    // mistake), so that a run cut short can be taken back with undo, and
    // written again as the plain batch file at the end.
    SaveResult journal;
    if (!r.saveBatch.empty())
        services.journal = [&](const RunJournal& j) {
            journal = WriteRunJournal(fs, r.saveBatch, j);
            return journal.saved();
        };
    const CommandResult result = mode == RunMode::Rename ? RenameCommand(session, fs, services)
                                                         : PreviewCommand(session, fs, services);
    if (!result.ran()) throw UsageError(std::string(verb) + ": " + result.message);
    if (journal.outcome == SaveResult::Outcome::NotOpened) throw UsageError("cannot write the batch file " + r.saveBatch);
    if (!journal.saved()) throw UsageError(r.saveBatch + ": " + journal.errorText);
    PrintResultLines(session.resultText);
    std::fflush(stdout);
    if (!r.saveBatch.empty()) SaveOrThrow(fs, r.saveBatch, session);
    return result.failures == 0 ? 0 : 1;
}

}  // namespace

int RunPreview(const Args& args) { return RunBatch("preview", args, RunMode::Preview); }

int RunRename(const Args& args) { return RunBatch("rename", args, RunMode::Rename); }

int RunUndo(const Args& args) {
    std::string batchPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--batch")
            batchPath = OptionValue(args, i);
        else
            throw UsageError("undo: unexpected argument " + args[i] + " (quorv undo --batch F)");
    }
    if (batchPath.empty()) throw UsageError("undo: no batch file given (--batch F)");
    const Services& system = SystemServices();
    FileSystem& fs = system.fileSystem();
    JournalLoadResult journal = LoadRunJournal(fs, batchPath, system.codePage());
    const BatchLoadResult& loaded = journal.load;
    if (!loaded.opened) throw UsageError("cannot read the batch file " + batchPath);
    if (!loaded.read.ok()) throw UsageError(batchPath + ": " + loaded.errorText);
    const BatchFile& b = loaded.read.batch;
    if (!b.undoEnabled) throw UsageError("undo: the batch file " + batchPath + " holds no rename that can be undone");

    if (journal.hasSteps) {
        // The journal of a run that did not finish: every move that
        // happened is taken back, step by step from the last.
        RunJournal run;
        run.batch = b;
        run.steps = std::move(journal.steps);
        run.hasSteps = true;
        const RollBackResult back = RollBackRun(fs, system.codePage(), run);
        PrintResultLines(back.text);
        return back.failures == 0 ? 0 : 1;
    }

    BatchSession session(system);
    ApplyBatchFile(session, loaded.read);
    const std::size_t failures = UndoRename(session, fs);
    PrintResultLines(session.resultText);
    return failures == 0 ? 0 : 1;
}

}  // namespace quorv::cli
