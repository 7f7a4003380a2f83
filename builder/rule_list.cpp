#include "builder/rule_list.h"

#include <algorithm>

namespace quorv {

// ---------------------------------------------------------------- selection

void RuleSelection::Reset(std::size_t count) {
    selected_.assign(count, 0);
    caret_ = count == 0 ? -1 : 0;
}

void RuleSelection::Fit(std::size_t count) {
    selected_.resize(count, 0);
    SetCaret(caret_ < 0 ? 0 : caret_);
}

void RuleSelection::SetSelected(std::size_t i, bool on) {
    if (i < selected_.size()) selected_[i] = on ? 1 : 0;
}

std::size_t RuleSelection::SelectedCount() const {
    return static_cast<std::size_t>(std::count(selected_.begin(), selected_.end(), 1));
}

void RuleSelection::SetCaret(std::ptrdiff_t i) {
    const auto n = static_cast<std::ptrdiff_t>(selected_.size());
    caret_ = n == 0 ? -1 : std::clamp<std::ptrdiff_t>(i, 0, n - 1);
}

void RuleSelection::Insert(std::size_t i, bool selected) {
    i = std::min(i, selected_.size());
    selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(i), selected ? 1 : 0);
    if (caret_ < 0) caret_ = 0;
}

void RuleSelection::Erase(std::size_t i) {
    if (i >= selected_.size()) return;
    selected_.erase(selected_.begin() + static_cast<std::ptrdiff_t>(i));
    SetCaret(caret_);
}

// ---------------------------------------------------------------- composing

ComposedRule ComposeRule(const BuilderState& state, const ComposeContext& context) {
    if (!NeedsFolder(state)) return Compose(state, context.codePage, context.separator);
    std::string folder = FolderPickerStart(state, context.lastFolder);
    if (!context.pickFolder || !context.pickFolder(folder)) return {ComposedRule::Outcome::NoFolder, {}};
    context.lastFolder = folder;
    BuilderState withFolder = state;
    withFolder.folder = folder;
    return Compose(withFolder, context.codePage, context.separator);
}

// ---------------------------------------------------------------- commands

RuleEditResult AddRule(BatchSession& session, RuleSelection& selection, const BuilderState& state,
                       const ComposeContext& context) {
    selection.Fit(session.rules.size());
    ComposedRule composed = ComposeRule(state, context);
    if (composed.outcome == ComposedRule::Outcome::Refused) return {false, std::move(composed.text)};
    if (!composed.ok()) return {};
    session.rules.push_back(std::move(composed.text));
    selection.Insert(session.rules.size() - 1, false);
    RefreshStatusLine(session);
    return {true, {}};
}

RuleEditResult UpdateRule(BatchSession& session, RuleSelection& selection, const BuilderState& state,
                          const ComposeContext& context) {
    selection.Fit(session.rules.size());
    const std::ptrdiff_t caret = selection.Caret();
    if (caret < 0) return {};
    ComposedRule composed = ComposeRule(state, context);
    if (composed.outcome == ComposedRule::Outcome::Refused) return {false, std::move(composed.text)};
    if (!composed.ok()) return {};
    session.rules[static_cast<std::size_t>(caret)] = std::move(composed.text);
    RefreshStatusLine(session);
    return {true, {}};
}

bool DeleteSelectedRules(BatchSession& session, RuleSelection& selection) {
    selection.Fit(session.rules.size());
    std::ptrdiff_t caret = selection.Caret();
    bool deleted = false;
    for (std::size_t i = session.rules.size(); i-- > 0;) {
        if (!selection.IsSelected(i)) continue;
        session.rules.erase(session.rules.begin() + static_cast<std::ptrdiff_t>(i));
        selection.Erase(i);
        if (static_cast<std::ptrdiff_t>(i) < caret) --caret;
        deleted = true;
    }
    selection.SetCaret(caret);
    RefreshStatusLine(session);
    return deleted;
}

namespace {

bool MoveCaretLine(std::vector<std::string>& rules, RuleSelection& selection, bool up) {
    selection.Fit(rules.size());
    if (selection.SelectedCount() == 0) return false;
    const std::ptrdiff_t i = selection.Caret();
    if (i < 0) return false;
    const std::ptrdiff_t j = up ? i - 1 : i + 1;
    if (j < 0 || j >= static_cast<std::ptrdiff_t>(rules.size())) return false;
    std::swap(rules[static_cast<std::size_t>(i)], rules[static_cast<std::size_t>(j)]);
    // The neighbour takes the moved line's old place with its own selection state.
    const bool neighbourSelected = selection.IsSelected(static_cast<std::size_t>(j));
    selection.SetSelected(static_cast<std::size_t>(i), neighbourSelected);
    selection.SetSelected(static_cast<std::size_t>(j), true);
    selection.SetCaret(j);
    return true;
}

}  // namespace

bool MoveRuleUp(std::vector<std::string>& rules, RuleSelection& selection) {
    return MoveCaretLine(rules, selection, true);
}

bool MoveRuleDown(std::vector<std::string>& rules, RuleSelection& selection) {
    return MoveCaretLine(rules, selection, false);
}

unsigned FillBuilderFromRule(BuilderState& state, const std::vector<std::string>& rules,
                             const RuleSelection& selection, const CodePage& cp, char separator) {
    const std::ptrdiff_t caret = selection.Caret();
    if (caret < 0 || static_cast<std::size_t>(caret) >= rules.size()) return 0;
    FillBack(state, rules[static_cast<std::size_t>(caret)], cp, separator);
    return kAllBuilderParts;
}

}  // namespace quorv
