#include "batch/rename_run.h"

#include "formats/int32_wrap.h"

#include <cstring>
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

}  // namespace

std::string NotChangedLine(const std::string& oldPath) { return "\"" + oldPath + "\"  not changed\r\n"; }

std::string ChangedLine(const std::string& oldPath, const std::string& newPath, RunMode mode) {
    const char* verb = mode == RunMode::Preview ? "  will be" : "  has been";
    return "\"" + oldPath + "\"" + verb + " changed to  \"" + newPath + "\"\r\n";
}

std::string ChangeFailedLine(const std::string& oldPath, const std::string& newPath) {
    return "\"" + oldPath + "\"  change failed with  \"" + newPath + "\"\r\n";
}

bool HasConversionMarker(const std::string& path) { return FindConversionMarker(path) != std::string::npos; }

std::size_t RenameRun(BatchSession& session, FileSystem& fs, RunMode mode, const RunServices& services) {
    FileList& files = session.files;
    std::vector<std::string> record = files.DisplayedList();
    std::vector<EntryOutcome> outcomes(record.size(), EntryOutcome::Unknown);
    std::string().swap(session.resultText);  // the last run's lines go before the new ones are made
    std::string text;
    // Room for the lines up front (each names the old path and, mostly, a
    // new one of about its length): a text of many megabytes is not grown
    // by doubling, which would hold it twice over for a moment.
    std::size_t room = 0;
    for (const std::string& path : record) room += 2 * path.size() + 40;
    text.reserve(room);
    std::size_t failures = 0;
    const auto& newPathOf = services.newPath;
    const auto& convert = services.convert;

    for (std::size_t i = 0; i < record.size(); ++i) {
        const std::string oldPath = record[i];
        // The file number is the 1-based position, wrapping as every 32-bit
        // number of the rules does (a list that long never happens).
        const std::int32_t number = WrapToInt32(static_cast<std::uint32_t>(i + 1));
        std::string newPath = newPathOf ? newPathOf(oldPath, number, session.rules) : oldPath;
        if (newPath == oldPath) {
            text += NotChangedLine(oldPath);
            outcomes[i] = EntryOutcome::NotChanged;
        } else if (mode == RunMode::Preview) {
            text += ChangedLine(oldPath, newPath, mode);
            outcomes[i] = EntryOutcome::Previewed;
        } else {
            bool ok;
            bool converted = false;
            bool moved = false;
            if (HasConversionMarker(newPath)) {
                ok = convert && convert(oldPath, newPath);
                converted = true;
            } else {
                moved = fs.Move(oldPath, newPath);
                // Believe the move only when the old name is gone and the new one is there.
                ok = moved && !fs.Exists(oldPath) && fs.Exists(newPath);
            }
            if (ok) {
                text += ChangedLine(oldPath, newPath, mode);
                outcomes[i] = converted ? EntryOutcome::Converted : EntryOutcome::Renamed;
            } else {
                text += ChangeFailedLine(oldPath, newPath);
                // A move that said yes but does not show may still have
                // happened: leave it to Undo to try, as for a loaded record.
                outcomes[i] = moved ? EntryOutcome::Unknown : EntryOutcome::Failed;
                ++failures;
            }
        }
        record[i] = std::move(newPath);
        if (services.step) services.step(i);
    }
    files.SetRun(std::move(record), std::move(outcomes));
    session.resultText = std::move(text);
    files.SetUndoEnabled(mode == RunMode::Rename);
    return failures;
}

namespace {

// The message that stops Preview and Rename before a run; empty when the
// run may go ahead.
const char* RunRefusal(const BatchSession& session) {
    if (session.files.DisplayedCount() == 0) return kEmptyFileListMessage;
    if (session.rules.empty()) return kNoRulesMessage;
    return nullptr;
}

}  // namespace

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
