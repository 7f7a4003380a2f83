#include "batch/rename_run.h"

#include "batch/helper_thread.h"
#include "batch/run_journal.h"
#include "batch/run_plan.h"
#include "engine/media_values.h"
#include "formats/int32_wrap.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace quorv {

const char kEmptyFileListMessage[] = "The file list is null, please add file first.";
const char kNoRulesMessage[] = "Please define the rename rules.";
const char kWaitCaption[] = "Renaming in progress...";

namespace {

const char kStatusNoFiles[] =
    "The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list.";
const char kStatusNoRules[] =
    "The Rule list is NULL. Please use the \"Rules builder\" to add rules or select one from the \"Favorite rules\".";
const char kStatusRenamed[] = "Files have been renamed. You can use \"Undo\" to cancel this change.";
const char kStatusReady[] = "file(s) are ready for batch renaming.";

// The middle parts of the result lines.
const char kChangedPreview[] = "  will be changed to  \"";
const char kChangedRename[] = "  has been changed to  \"";
const char kChangeFailed[] = "  change failed with  \"";
const char kNotChanged[] = "  not changed\r\n";

}  // namespace

std::string NotChangedLine(const std::string& oldPath) { return "\"" + oldPath + "\"" + kNotChanged; }

std::string ChangedLine(const std::string& oldPath, const std::string& newPath, RunMode mode) {
    const char* middle = mode == RunMode::Preview ? kChangedPreview : kChangedRename;
    return "\"" + oldPath + "\"" + middle + newPath + "\"\r\n";
}

std::string ChangeFailedLine(const std::string& oldPath, const std::string& newPath) {
    return "\"" + oldPath + "\"" + kChangeFailed + newPath + "\"\r\n";
}

bool HasConversionMarker(const std::string& path) { return FindConversionMarker(path) != std::string::npos; }

std::string PreviewRefusalSuffix(const char* reason) { return std::string("  (refused: ") + reason + ")"; }

namespace {

// The kinds of result lines.
enum class Line : std::uint8_t { NotChanged, Changed, Failed };

// The result lines, written once at their exact length: a text of many
// megabytes grown by doubling would be held twice over for a moment.
std::string ResultText(const FileList& files, const std::vector<std::string>& newPaths,
                       const std::vector<Line>& lines, RunMode mode, const std::vector<Refusal>* refusals) {
    const char* changed = mode == RunMode::Preview ? kChangedPreview : kChangedRename;
    auto middleOf = [&](Line line) {
        return line == Line::NotChanged ? kNotChanged : line == Line::Changed ? changed : kChangeFailed;
    };
    auto suffixOf = [&](std::size_t i) {
        return refusals && (*refusals)[i] != Refusal::None ? PreviewRefusalSuffix(RefusalReason((*refusals)[i]))
                                                           : std::string();
    };
    std::size_t length = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char* middle = middleOf(lines[i]);
        length += 1 + files.DisplayedText(i).size() + 1 + std::strlen(middle);
        if (lines[i] != Line::NotChanged) length += newPaths[i].size() + 3 + suffixOf(i).size();
    }
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += '"';
        text += files.DisplayedText(i);
        text += '"';
        text += middleOf(lines[i]);
        if (lines[i] != Line::NotChanged) {
            text += newPaths[i];
            text += '"';
            if (refusals && (*refusals)[i] != Refusal::None) text += suffixOf(i);
            text += "\r\n";
        }
    }
    return text;
}

// The new path of every displayed entry, on services.threads threads: each
// takes the next block of entries until none is left. progress gets the
// number of entries done so far, minus one, from the caller's thread only.
std::vector<std::string> NewPaths(const FileList& files, const std::vector<std::string>& rules,
                                  const RunServices& services, const std::function<void(std::size_t)>& progress) {
    const std::size_t count = files.DisplayedCount();
    std::vector<std::string> newPaths(count);
    const auto& newPathOf = services.newPath;
    constexpr std::size_t kBlock = 512;
    std::atomic<std::size_t> next{0}, done{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    // Computes blocks until none is left; the first exception is kept for
    // the caller and stops the others.
    auto work = [&](bool reports) {
        try {
            for (std::size_t start; (start = next.fetch_add(kBlock)) < count;) {
                const std::size_t end = std::min(start + kBlock, count);
                for (std::size_t i = start; i < end; ++i) {
                    const std::string& oldPath = files.DisplayedText(i);
                    // The file number is the 1-based position, wrapping as
                    // every 32-bit number of the rules does (a list that
                    // long never happens).
                    const std::int32_t number = WrapToInt32(static_cast<std::uint32_t>(i + 1));
                    newPaths[i] = newPathOf ? newPathOf(oldPath, number, rules) : oldPath;
                    if (reports) progress(done.load() + (i - start));
                }
                done.fetch_add(end - start);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(failureLock);
            if (!failure) failure = std::current_exception();
            next.store(count);
        }
    };
    const std::size_t helpers =
        std::min<std::size_t>(services.threads > 1 ? services.threads - 1 : 0, count / (4 * kBlock));
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < helpers; ++t) threads.emplace_back(work, false);
    work(true);
    for (std::thread& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
    if (count > 0) progress(count - 1);
    return newPaths;
}

// From this many entries a preview writes its lines on a second thread.
constexpr std::size_t kBesideFrom = 1024;

// Runs first() here and second() on another thread, both finished on
// return; an exception of either is thrown again here (the first one's
// when both throw). With apart false, or when no thread can be started,
// both run here, one after the other.
template <class First, class Second>
void RunBeside(const First& first, const Second& second, bool apart) {
    std::exception_ptr secondFailure;
    HelperThread beside;
    const bool started = apart && beside.Start([&] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception();
        }
    });
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
    beside.Join();
    if (!started && !firstFailure) second();
    if (firstFailure) std::rethrow_exception(firstFailure);
    if (secondFailure) std::rethrow_exception(secondFailure);
}

// True when an earlier rename's record entry still has a file to bring back.
bool MayHaveMoved(EntryOutcome outcome) {
    return outcome == EntryOutcome::Renamed || outcome == EntryOutcome::Unknown;
}

// What the plan is made from: each entry's path and new path; a conversion
// claims the picture it writes (kept in converted, which never moves what
// it holds).
struct RunInput {
    PlanInput plan;
    std::deque<std::string> converted;
};

void FillRunInput(const FileList& files, const std::vector<std::string>& newPaths, char separator, RunInput& in) {
    const std::size_t count = files.DisplayedCount();
    in.plan.Reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& oldPath = files.DisplayedText(i);
        const std::string& newPath = newPaths[i];
        if (newPath == oldPath) {
            in.plan.Add(PlanKind::Skip, &oldPath, nullptr);
        } else if (HasConversionMarker(newPath)) {
            const std::size_t at = FindConversionMarker(newPath);
            in.converted.push_back(ConvertedPicturePath(
                newPath.substr(0, at), newPath.substr(at + std::strlen(kConversionMarker)), separator));
            in.plan.Add(PlanKind::Convert, &oldPath, in.converted.back().empty() ? nullptr : &in.converted.back());
        } else {
            in.plan.Add(PlanKind::Move, &oldPath, &newPath);
        }
    }
}

// The journal of a rename about to start: the session as the run will
// leave it, and every move in the order it will be made. An entry the run
// does not move keeps the record of an earlier rename that can be undone,
// else its own path (nothing to take back).
RunJournal JournalOf(const BatchSession& session, const std::vector<std::string>& newPaths, const RunPlan& plan,
                     const PlanInput& input, std::size_t earlier) {
    const FileList& files = session.files;
    const std::size_t count = files.DisplayedCount();
    RunJournal journal;
    journal.batch.masterList = files.MasterList();
    journal.batch.displayedList = files.DisplayedList();
    journal.batch.rules = session.rules;
    journal.batch.undoEnabled = true;
    journal.hasSteps = true;
    std::vector<char> moves(count, 0);
    journal.steps.reserve(plan.steps.size());
    for (const PlanStep& step : plan.steps) {
        const auto paths = StepPaths(plan, input, step);
        if (!paths.first) continue;  // a conversion moves nothing
        moves[step.entry] = 1;
        JournalStep move{step.entry, *paths.first, *paths.second};
        if (step.kind == PlanStep::Kind::Unpark) {
            const ParkedEntry* parked = plan.Parked(step.entry);
            move.parkedFile = true;
            move.size = parked->size;
            move.modified = parked->modified;
            move.fileId = parked->fileId;
        }
        journal.steps.push_back(std::move(move));
    }
    journal.batch.runRecord.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (moves[i])
            journal.batch.runRecord.push_back(newPaths[i]);
        else if (i < earlier && MayHaveMoved(files.Outcome(i)))
            journal.batch.runRecord.push_back(files.RunRecordPath(i));
        else
            journal.batch.runRecord.push_back(files.DisplayedText(i));
    }
    return journal;
}

// The line and the record outcome of one entry after a rename; true when
// it failed.
bool RenameOutcome(PlanKind kind, StepOutcome done, Line& line, EntryOutcome& outcome) {
    if (kind == PlanKind::Skip) return false;
    switch (done) {
    case StepOutcome::Done:
        line = Line::Changed;
        outcome = EntryOutcome::Renamed;
        return false;
    case StepOutcome::Converted:
        line = Line::Changed;
        outcome = EntryOutcome::Converted;
        return false;
    case StepOutcome::Unseen:
        // A move that said yes but does not show may still have happened:
        // leave it to Undo to try, as for a loaded record.
        outcome = EntryOutcome::Unknown;
        break;
    case StepOutcome::Parked:
        outcome = EntryOutcome::Renamed;  // Undo finds it under its temporary name
        break;
    default:
        outcome = EntryOutcome::Failed;
        break;
    }
    line = Line::Failed;
    return true;
}

}  // namespace

std::size_t RenameRun(BatchSession& session, FileSystem& fs, RunMode mode, const RunServices& services) {
    FileList& files = session.files;
    const std::size_t count = files.DisplayedCount();
    const bool preview = mode == RunMode::Preview;
    std::size_t shown = static_cast<std::size_t>(-1);
    auto progress = [&](std::size_t position) {
        if (services.step && position != shown) services.step(shown = position);
    };

    // Every new path first. The old paths stay in the list, so they are not copied.
    std::vector<std::string> newPaths =
        NewPaths(files, session.rules, services, [&](std::size_t done) { progress(preview ? done : done / 2); });
    RunInput in;
    FillRunInput(files, newPaths, fs.Separator(), in);
    const PlanInput& input = in.plan;

    // While an earlier rename can be undone, its record stays for every
    // entry this run does not move.
    const bool undoPending = files.UndoEnabled();
    const std::size_t earlier = undoPending ? std::min(files.RunRecordSize(), count) : 0;
    std::vector<Line> lines(count, Line::NotChanged);
    std::vector<EntryOutcome> outcomes(count, EntryOutcome::NotChanged);

    if (preview) {
        for (std::size_t i = 0; i < count; ++i) {
            if (input.kinds[i] == PlanKind::Skip) continue;
            lines[i] = Line::Changed;
            outcomes[i] = EntryOutcome::Previewed;
        }
        std::string().swap(session.resultText);  // the last run's lines go before the new ones are made
        // The lines are written while the plan is made: they differ from
        // the plain ones only where the plan refuses an entry, and then
        // they are written again.
        RunPlan plan;
        std::string text;
        RunBeside([&] { plan = PlanRun(fs, files.codePage(), input); },
                  [&] { text = ResultText(files, newPaths, lines, mode, nullptr); }, count >= kBesideFrom);
        if (plan.RefusedCount() > 0) {
            std::string().swap(text);
            text = ResultText(files, newPaths, lines, mode, &plan.refusals);
        }
        session.resultText = std::move(text);
        if (!undoPending) files.SetRun(std::move(newPaths), std::move(outcomes));
        return plan.RefusedCount();
    }

    const RunPlan plan = PlanRun(fs, files.codePage(), input);
    if (services.journal && !services.journal(JournalOf(session, newPaths, plan, input, earlier))) return 0;

    std::string().swap(session.resultText);
    CarryOutOptions options;
    options.verify = true;
    if (services.convert)
        options.convert = [&](std::size_t e) { return services.convert(files.DisplayedText(e), newPaths[e]); };
    options.step = [&](std::size_t done) { progress((count + done) / 2); };
    const std::vector<StepOutcome> done = CarryOut(fs, plan, input, options);

    std::size_t failures = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (RenameOutcome(input.kinds[i], done[i], lines[i], outcomes[i])) ++failures;
    session.resultText = ResultText(files, newPaths, lines, mode, nullptr);

    // The record: where each file is now, for Undo.
    for (std::size_t i = 0; i < count; ++i)
        if (done[i] == StepOutcome::Parked) newPaths[i] = plan.TemporaryName(static_cast<std::uint32_t>(i));
    for (std::size_t i = 0; i < earlier; ++i) {
        const bool movedNow = outcomes[i] == EntryOutcome::Renamed || outcomes[i] == EntryOutcome::Unknown;
        if (!movedNow && MayHaveMoved(files.Outcome(i))) {
            newPaths[i] = files.RunRecordPath(i);
            outcomes[i] = files.Outcome(i);
        }
    }
    files.SetRun(std::move(newPaths), std::move(outcomes));
    files.SetUndoEnabled(true);
    return failures;
}

const char* RunRefusal(const BatchSession& session) {
    if (session.files.DisplayedCount() == 0) return kEmptyFileListMessage;
    if (session.rules.empty()) return kNoRulesMessage;
    return nullptr;
}

CommandResult PreviewCommand(BatchSession& session, FileSystem& fs, const RunServices& services) {
    CommandResult r;
    if (const char* refusal = RunRefusal(session)) {
        r.message = refusal;
        return r;
    }
    r.failures = RenameRun(session, fs, RunMode::Preview, services);
    return r;
}

CommandResult RenameCommand(BatchSession& session, FileSystem& fs, const RunServices& services) {
    CommandResult r;
    if (const char* refusal = RunRefusal(session)) {
        r.message = refusal;
        return r;
    }
    r.failures = RenameRun(session, fs, RunMode::Rename, services);
    RefreshStatusLine(session);
    return r;
}

unsigned RunThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : std::min(cores, 8u);
}

// Why the new paths may be computed on several threads: ApplyRules reads
// every rule line afresh into locals and thread_local buffers, and keeps no
// cache or static that changes. What it calls is safe from several threads
// at once too: the code page's tables are filled when it is made and only
// read afterwards; the clock reads the time and converts it with
// localtime_r / _localtime64_s (the caller's buffer, no shared struct tm);
// the file times come from a fresh stat / GetFileAttributesExW per call,
// and the file system objects keep no state between calls. The tag reader
// (id3lib) and the picture reader (GDI+) are not made for several threads,
// so a rule list that reads either runs on the caller's thread alone: the
// decision reads each line's words as the engine does, so a kind word the
// engine would read is never missed (and a text that merely contains one,
// such as PREFIX "image_", does not cost the threads).
unsigned NewPathThreads(const CodePage& cp, const std::vector<std::string>& rules) {
    for (const std::string& line : rules)
        if (RuleReadsTagsOrPictures(cp, line)) return 1;
    return RunThreads();
}

std::string StatusLineText(std::size_t displayedCount, std::size_t ruleCount, bool undoEnabled) {
    if (displayedCount == 0) return kStatusNoFiles;
    if (ruleCount == 0) return kStatusNoRules;
    if (undoEnabled) return kStatusRenamed;
    return std::to_string(displayedCount) + " " + kStatusReady;
}

void RefreshStatusLine(BatchSession& session) {
    session.statusLine =
        StatusLineText(session.files.DisplayedCount(), session.rules.size(), session.files.UndoEnabled());
}

}  // namespace quorv
