#include "batch/undo.h"

#include <algorithm>
#include <vector>

#include "batch/run_plan.h"

namespace quorv {

std::string RollbackLine(const std::string& renamedPath, const std::string& oldPath) {
    return renamedPath + "  roolback to " + oldPath + "\r\n";
}

std::string RollbackFailedLine(const std::string& renamedPath, const std::string& oldPath) {
    return renamedPath + "  roolback failed with  " + oldPath + "\r\n";
}

std::string RollbackNotChangedLine(const std::string& renamedPath) { return renamedPath + "  not changed\r\n"; }

std::size_t UndoRename(BatchSession& session, FileSystem& fs) {
    FileList& files = session.files;
    files.SetUndoEnabled(false);
    const std::size_t count = std::min(files.RunRecordSize(), files.DisplayedCount());
    // The way back is planned as a run is: a file goes back once the one
    // holding its old name has left, a swap goes through a temporary name.
    // Entries the run is known not to have moved are left alone.
    PlanInput input;
    input.checkNames = false;  // back to names that existed
    input.checkTaken = false;
    input.Reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& oldPath = files.DisplayedText(i);
        const std::string& renamed = files.RunRecordPath(i);
        const EntryOutcome outcome = files.Outcome(i);
        const bool attempt = oldPath != renamed && (outcome == EntryOutcome::Renamed || outcome == EntryOutcome::Unknown);
        input.Add(attempt ? PlanKind::Move : PlanKind::Skip, &renamed, &oldPath);
    }
    const RunPlan plan = PlanRun(fs, files.codePage(), input);
    CarryOutOptions options;
    options.resetAttributes = true;
    const std::vector<StepOutcome> done = CarryOut(fs, plan, input, options);

    std::string text;
    std::size_t failures = 0;
    std::vector<std::size_t> parked;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& oldPath = files.DisplayedText(i);
        const std::string& renamed = files.RunRecordPath(i);
        if (oldPath == renamed) {
            text += RollbackNotChangedLine(renamed);
        } else if (done[i] == StepOutcome::Done) {
            text += RollbackLine(renamed, oldPath);
        } else if (done[i] == StepOutcome::Parked) {
            text += RollbackFailedLine(plan.TemporaryName(static_cast<std::uint32_t>(i)), oldPath);
            parked.push_back(i);
            ++failures;
        } else {
            text += RollbackFailedLine(renamed, oldPath);
            ++failures;
        }
    }
    if (!parked.empty()) {
        // A file left under its temporary name stays in the record, and
        // Undo stays possible, so that it can still be brought back.
        std::vector<std::string> record = files.RunRecord();
        std::vector<EntryOutcome> outcomes;
        for (std::size_t i = 0; i < record.size(); ++i) outcomes.push_back(files.Outcome(i));
        for (std::size_t i : parked) record[i] = plan.TemporaryName(static_cast<std::uint32_t>(i));
        files.SetRun(std::move(record), std::move(outcomes));
        files.SetUndoEnabled(true);
    }
    session.resultText = std::move(text);
    RefreshStatusLine(session);
    return failures;
}

}  // namespace quorv
