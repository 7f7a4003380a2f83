#include "batch/run_journal.h"

#include <algorithm>
#include <limits>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "batch/run_plan.h"
#include "batch/undo.h"
#include "formats/string_list_record.h"

namespace quorv {

std::string EncodeRunJournal(const RunJournal& journal) {
    std::string bytes = EncodeBatchFile(journal.batch);
    std::vector<std::string> lines;
    lines.reserve(1 + 3 * journal.steps.size());
    lines.emplace_back(kRunStepsTag);
    for (const JournalStep& step : journal.steps) {
        std::string index = std::to_string(step.entry);
        if (step.parkedFile)
            index += " " + std::to_string(step.size) + " " + std::to_string(step.modified) + " " +
                     std::to_string(step.fileId);
        lines.push_back(std::move(index));
        lines.push_back(step.from);
        lines.push_back(step.to);
    }
    bytes += EncodeStringList(lines);
    return bytes;
}

namespace {

// A whole decimal number; a leading '-' only for a signed one.
template <class T>
bool ParseNumber(std::string_view text, T& value) {
    bool negative = false;
    if (std::is_signed<T>::value && !text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (v > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
        v = v * 10 + digit;
    }
    const auto largest = static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    if (!negative) {
        if (v > largest) return false;
        value = static_cast<T>(v);
        return true;
    }
    if (v > largest + 1) return false;
    value = v == largest + 1 ? std::numeric_limits<T>::min() : static_cast<T>(static_cast<T>(0) - static_cast<T>(v));
    return true;
}

// "index" or "index size modified fileId".
bool ParseIndexLine(const std::string& line, JournalStep& step) {
    std::vector<std::string_view> parts;
    const std::string_view text(line);
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = text.find(' ', start);
        parts.push_back(text.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    if (parts.size() == 1) return ParseNumber(parts[0], step.entry);
    if (parts.size() != 4) return false;
    step.parkedFile = true;
    return ParseNumber(parts[0], step.entry) && ParseNumber(parts[1], step.size) &&
           ParseNumber(parts[2], step.modified) && ParseNumber(parts[3], step.fileId);
}

// The steps after the five fields; false when there are none to be trusted.
bool DecodeSteps(std::string_view rest, const CodePage& codePage, std::vector<JournalStep>& steps) {
    std::vector<std::string> lines;
    if (rest.empty() || DecodeStringList(rest, codePage, lines) != FileError::None) return false;
    if (lines.empty() || lines[0] != kRunStepsTag || (lines.size() - 1) % 3 != 0) return false;
    steps.clear();
    steps.reserve((lines.size() - 1) / 3);
    for (std::size_t k = 1; k < lines.size(); k += 3) {
        JournalStep step;
        if (!ParseIndexLine(lines[k], step)) return false;
        step.from = std::move(lines[k + 1]);
        step.to = std::move(lines[k + 2]);
        steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace

JournalLoadResult LoadRunJournal(FileSystem& fs, const std::string& path, const CodePage& codePage) {
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return JournalLoadResult{};
    return DecodeRunJournal(bytes, codePage);
}

JournalLoadResult DecodeRunJournal(std::string_view bytes, const CodePage& codePage) {
    JournalLoadResult result;
    result.load.opened = true;
    std::size_t end = 0;
    result.load.read = DecodeBatchFile(bytes, codePage, &end);
    result.load.errorText = FileErrorText(result.load.read.error, kUnnamedFile);
    if (result.load.read.ok())
        result.hasSteps = DecodeSteps(bytes.substr(end), codePage, result.steps);
    if (!result.hasSteps) result.steps.clear();
    return result;
}

SaveResult WriteRunJournal(FileSystem& fs, const std::string& path, const RunJournal& journal) {
    return SaveResultFromIo(fs.WriteFile(path, EncodeRunJournal(journal)), path);
}

namespace {

// The names as the walk back sees them: the file system, or, when only
// counting, the file system with the moves the walk would have made.
class Names {
public:
    Names(FileSystem& fs, const CodePage& codePage, bool counting)
        : fs_(&fs), codePage_(&codePage), counting_(counting) {}

    std::string Key(const std::string& path) const {
        return fs_->NamesIgnoreCase() ? codePage_->Upper(path) : path;
    }
    // The two names differ only in letter case where the file system does
    // not tell them apart.
    bool CaseOnly(const std::string& a, const std::string& b) const {
        return fs_->NamesIgnoreCase() && a != b && a.size() == b.size() && codePage_->Upper(a) == codePage_->Upper(b);
    }
    // There, as the file system compares names.
    bool Has(const std::string& path) {
        if (counting_) {
            const auto it = moved_.find(Key(path));
            if (it != moved_.end()) return it->second;
        }
        FileStatus status;
        return fs_->GetStatus(path, status);
    }
    // There under exactly this name (a step that changes only the letter
    // case: only its own names can be touched by it, so nothing else moved).
    bool HasExactly(const std::string& path) { return fs_->Exists(path); }
    // The file under the name is the one a cycle parked: the same file
    // number where the file system has them, else the same size and time.
    bool Holds(const std::string& path, const JournalStep& step) {
        const std::uint64_t id = step.fileId != 0 ? fs_->FileId(path) : 0;
        if (id != 0) return id == step.fileId;
        FileStatus status;
        return fs_->GetStatus(path, status) && status.size == step.size && status.times.modified == step.modified;
    }
    // Moves a file back (or, when counting, pretends to).
    bool MoveBack(const std::string& from, const std::string& to) {
        if (!counting_) return MoveWithNormalAttributes(*fs_, from, to);
        moved_[Key(from)] = false;
        moved_[Key(to)] = true;
        return true;
    }

private:
    FileSystem* fs_;
    const CodePage* codePage_;
    bool counting_;
    std::unordered_map<std::string, bool> moved_;
};

// Per entry with steps: whether one of them had happened, whether taking
// one back failed, and where the file was before it went back.
struct StepEntry {
    bool happened = false;
    bool failed = false;
    std::string where;
};

// The walk back over the steps, then the entries without steps. Counting
// moves nothing and only fills movedBack.
RollBackResult WalkBack(FileSystem& fs, const CodePage& codePage, const RunJournal& journal, bool counting) {
    RollBackResult result;
    Names names(fs, codePage, counting);
    std::unordered_map<std::uint32_t, StepEntry> stepped;
    // Where each temporary name was taken from: the parked file's old name.
    std::unordered_map<std::string, const std::string*> parkedFrom;
    for (const JournalStep& step : journal.steps) {
        stepped[step.entry];
        if (step.parkedFile) parkedFrom.emplace(step.from, nullptr);
    }
    for (const JournalStep& step : journal.steps) {
        const auto park = step.parkedFile ? parkedFrom.end() : parkedFrom.find(step.to);
        if (park != parkedFrom.end()) park->second = &step.from;
    }
    for (auto it = journal.steps.rbegin(); it != journal.steps.rend(); ++it) {
        const JournalStep& step = *it;
        bool happened;
        if (names.CaseOnly(step.from, step.to)) {
            happened = names.HasExactly(step.to) && !names.HasExactly(step.from);
        } else if (step.parkedFile) {
            const auto park = parkedFrom.find(step.from);
            happened = !names.Has(step.from) && names.Has(step.to) && names.Holds(step.to, step) &&
                       park != parkedFrom.end() && park->second && !names.Holds(*park->second, step);
        } else {
            happened = names.Has(step.to) && !names.Has(step.from);
        }
        if (!happened) continue;
        StepEntry& entry = stepped[step.entry];
        if (!entry.happened) entry.where = step.to;  // its last step made: where the file stood
        entry.happened = true;
        if (!names.MoveBack(step.to, step.from)) entry.failed = true;
    }

    const BatchFile& b = journal.batch;
    const std::size_t count = std::min(b.runRecord.size(), b.displayedList.size());
    // The entries without steps go back as Undo takes them back.
    PlanInput input;
    input.checkNames = false;
    input.checkTaken = false;
    input.Reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool plain = stepped.find(static_cast<std::uint32_t>(i)) == stepped.end();
        const bool attempt = plain && b.runRecord[i] != b.displayedList[i];
        input.Add(attempt ? PlanKind::Move : PlanKind::Skip, &b.runRecord[i], &b.displayedList[i]);
    }
    if (counting) {
        for (std::size_t i = 0; i < count; ++i)
            if (input.kinds[i] == PlanKind::Move && names.Has(b.runRecord[i])) ++result.movedBack;
        for (const auto& kv : stepped)
            if (kv.second.happened) ++result.movedBack;
        return result;
    }
    const RunPlan plan = PlanRun(fs, codePage, input);
    CarryOutOptions options;
    options.resetAttributes = true;
    const std::vector<StepOutcome> done = CarryOut(fs, plan, input, options);

    for (std::size_t i = 0; i < count; ++i) {
        const std::string& oldPath = b.displayedList[i];
        const std::string& recorded = b.runRecord[i];
        const auto it = stepped.find(static_cast<std::uint32_t>(i));
        if (it != stepped.end()) {
            const StepEntry& entry = it->second;
            if (!entry.happened) {
                result.text += RollbackNotChangedLine(oldPath);  // never moved: nothing to take back
            } else if (entry.failed) {
                result.text += RollbackFailedLine(entry.where, oldPath);
                ++result.failures;
            } else {
                result.text += RollbackLine(entry.where, oldPath);
                ++result.movedBack;
            }
        } else if (recorded == oldPath) {
            result.text += RollbackNotChangedLine(recorded);
        } else if (done[i] == StepOutcome::Done) {
            result.text += RollbackLine(recorded, oldPath);
            ++result.movedBack;
        } else {
            result.text += RollbackFailedLine(done[i] == StepOutcome::Parked
                                                  ? plan.TemporaryName(static_cast<std::uint32_t>(i))
                                                  : recorded,
                                              oldPath);
            ++result.failures;
        }
    }
    return result;
}

}  // namespace

std::size_t FilesToMoveBack(FileSystem& fs, const CodePage& codePage, const RunJournal& journal) {
    return WalkBack(fs, codePage, journal, true).movedBack;
}

RollBackResult RollBackRun(FileSystem& fs, const CodePage& codePage, const RunJournal& journal) {
    return WalkBack(fs, codePage, journal, false);
}

std::string UnfinishedRunQuestion(std::size_t files) {
    return "The last rename run did not finish: " + std::to_string(files) +
           " files were renamed. Rename them back?";
}

UnfinishedRun FindUnfinishedRun(FileSystem& fs, const std::string& journalPath, const CodePage& codePage) {
    UnfinishedRun run;
    JournalLoadResult loaded = LoadRunJournal(fs, journalPath, codePage);
    if (!loaded.load.opened || !loaded.load.read.ok() || !loaded.hasSteps) return run;
    run.found = true;
    run.journal.batch = std::move(loaded.load.read.batch);
    run.journal.steps = std::move(loaded.steps);
    run.journal.hasSteps = true;
    run.files = FilesToMoveBack(fs, codePage, run.journal);
    return run;
}

RollBackResult RollBackUnfinishedRun(BatchSession& session, FileSystem& fs, const std::string& journalPath,
                                     const RunJournal& journal) {
    RollBackResult result = RollBackRun(fs, session.files.codePage(), journal);
    fs.Delete(journalPath);
    session.resultText = result.text;
    RefreshStatusLine(session);
    return result;
}

JournaledRenameResult RenameWithJournal(BatchSession& session, FileSystem& fs, RunServices services,
                                        const std::string& journalPath) {
    JournaledRenameResult result;
    bool written = false;
    SaveResult saved;
    services.journal = [&](const RunJournal& journal) {
        saved = WriteRunJournal(fs, journalPath, journal);
        written = saved.outcome == SaveResult::Outcome::Saved;
        return written;
    };
    result.command = RenameCommand(session, fs, services);
    if (result.command.ran() && !written && saved.outcome != SaveResult::Outcome::Saved) {
        result.journalFailed = true;
        result.command.message = saved.errorText;
    }
    if (written) fs.Delete(journalPath);
    return result;
}

}  // namespace quorv
