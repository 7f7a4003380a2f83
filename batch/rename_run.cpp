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

namespace {

// The line an entry's outcome gives (the same texts as the line functions
// above, written in place).
const char* MiddleOf(EntryOutcome outcome, RunMode mode) {
    switch (outcome) {
    case EntryOutcome::NotChanged:
        return kNotChanged;
    case EntryOutcome::Previewed:
    case EntryOutcome::Renamed:
    case EntryOutcome::Converted:
        return mode == RunMode::Preview ? kChangedPreview : kChangedRename;
    default:
        return kChangeFailed;
    }
}

}  // namespace

std::size_t RenameRun(BatchSession& session, FileSystem& fs, RunMode mode, const RunServices& services) {
    FileList& files = session.files;
    const std::size_t count = files.DisplayedCount();
    // The new record: one new path per displayed entry. The old paths stay
    // in the list until the run is over, so they are not copied.
    std::vector<std::string> record;
    record.reserve(count);
    std::vector<EntryOutcome> outcomes(count, EntryOutcome::Unknown);
    std::string().swap(session.resultText);  // the last run's lines go before the new ones are made
    std::size_t failures = 0;
    const auto& newPathOf = services.newPath;
    const auto& convert = services.convert;

    for (std::size_t i = 0; i < count; ++i) {
        const std::string& oldPath = files.DisplayedText(i);
        // The file number is the 1-based position, wrapping as every 32-bit
        // number of the rules does (a list that long never happens).
        const std::int32_t number = WrapToInt32(static_cast<std::uint32_t>(i + 1));
        std::string newPath = newPathOf ? newPathOf(oldPath, number, session.rules) : oldPath;
        if (newPath == oldPath) {
            outcomes[i] = EntryOutcome::NotChanged;
        } else if (mode == RunMode::Preview) {
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
                outcomes[i] = converted ? EntryOutcome::Converted : EntryOutcome::Renamed;
            } else {
                // A move that said yes but does not show may still have
                // happened: leave it to Undo to try, as for a loaded record.
                outcomes[i] = moved ? EntryOutcome::Unknown : EntryOutcome::Failed;
                ++failures;
            }
        }
        record.push_back(std::move(newPath));
        if (services.step) services.step(i);
    }

    // The result lines, written once at their exact length: a text of many
    // megabytes grown by doubling would be held twice over for a moment.
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char* middle = MiddleOf(outcomes[i], mode);
        length += 1 + files.DisplayedText(i).size() + 1 + std::strlen(middle);
        if (middle != kNotChanged) length += record[i].size() + 3;
    }
    std::string text;
    text.reserve(length);
    for (std::size_t i = 0; i < count; ++i) {
        const char* middle = MiddleOf(outcomes[i], mode);
        text += '"';
        text += files.DisplayedText(i);
        text += '"';
        text += middle;
        if (middle != kNotChanged) {
            text += record[i];
            text += "\"\r\n";
        }
    }
    files.SetRun(std::move(record), std::move(outcomes));
    session.resultText = std::move(text);
    files.SetUndoEnabled(mode == RunMode::Rename);
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
