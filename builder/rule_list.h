#pragma once
// Editing the rule list (the session's rule lines): add and update from the
// builder, delete the selected lines, move the caret line up and down, and
// read the caret line back into the builder. The rule list box mirrors the
// lines and the RuleSelection after every command; the window tells the
// selection what the user clicked (selection change of the list box).
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "batch/rename_run.h"
#include "builder/rule_builder.h"
#include "platform/codepage.h"

namespace quorv {

// The selected lines of the rule list box and its caret (the line with the
// focus rectangle). The caret is -1 only when the list is empty; a list box
// of lines has its caret on the first line until the user moves it. Every
// query is safe for any index, and every command first fits the marks to
// the number of lines (after the list was replaced by a rule file, say).
class RuleSelection {
public:
    // count lines, none selected, the caret on the first (or -1).
    void Reset(std::size_t count);
    // Keeps the marks and the caret, adding unselected lines or dropping
    // marks beyond count; the caret is kept within the lines.
    void Fit(std::size_t count);

    std::size_t size() const { return selected_.size(); }
    bool IsSelected(std::size_t i) const { return i < selected_.size() && selected_[i] != 0; }
    void SetSelected(std::size_t i, bool on);
    std::size_t SelectedCount() const;
    std::ptrdiff_t Caret() const { return caret_; }
    // Kept within the lines; -1 for an empty list.
    void SetCaret(std::ptrdiff_t i);

    // A line inserted or erased at i (the marks after it move with their lines).
    void Insert(std::size_t i, bool selected);
    void Erase(std::size_t i);

private:
    std::vector<char> selected_;
    std::ptrdiff_t caret_ = -1;
};

// The folder picker: shows the picker starting at folder; on OK puts the
// chosen folder into it and returns true; false when cancelled.
using FolderPicker = std::function<bool(std::string& folder)>;

// What composing needs besides the builder's state.
struct ComposeContext {
    const CodePage& codePage;
    std::string& lastFolder;  // the folder picker's in/out folder, shared with Add Dir
    FolderPicker pickFolder;
    char separator = '\\';
};

// Compose with the folder step: for a destination-folder rule the picker is
// shown first (starting at the folder of a line read back, else at the last
// folder); a cancel gives NoFolder and changes nothing, OK makes the chosen
// folder the last folder.
ComposedRule ComposeRule(const BuilderState& state, const ComposeContext& context);

struct RuleEditResult {
    bool changed = false;  // the lines changed: refill the list box, recompute its extent
    std::string message;   // a refusal to show (ShowMessage); empty when none
};

// Add rule: composes; a line goes to the end of the list and the status
// line is refreshed. A refusal gives its message; a cancelled folder
// picker gives nothing.
RuleEditResult AddRule(BatchSession& session, RuleSelection& selection, const BuilderState& state,
                       const ComposeContext& context);

// Update rule: replaces the caret line by the composed line in the same
// place (it keeps its selection and the caret) and refreshes the status
// line. Nothing without a caret line. A refused composition or a cancelled
// folder picker leaves the list as it was, the old line included.
RuleEditResult UpdateRule(BatchSession& session, RuleSelection& selection, const BuilderState& state,
                          const ComposeContext& context);

// Delete rule (button or Delete key): deletes every selected line, walking
// from the last to the first; the caret stays on the line that now stands
// where it was (within the list). The status line is refreshed in every
// case, with nothing selected too. True when lines were deleted.
bool DeleteSelectedRules(BatchSession& session, RuleSelection& selection);

// Move up / down: only when some line is selected; the caret line trades
// places with its neighbour, is selected and keeps the caret; the
// neighbour keeps its own selection state. Nothing on the first / last
// line. True when moved. The status line is not touched.
bool MoveRuleUp(std::vector<std::string>& rules, RuleSelection& selection);
bool MoveRuleDown(std::vector<std::string>& rules, RuleSelection& selection);

// Fill builder: reads the caret line back into the builder (FillBack).
// Returns the BuilderPart bits to refresh; 0 without a caret line.
unsigned FillBuilderFromRule(BuilderState& state, const std::vector<std::string>& rules,
                             const RuleSelection& selection, const CodePage& cp, char separator = '\\');

}  // namespace quorv
