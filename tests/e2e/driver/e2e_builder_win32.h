#pragma once
// The rules builder of the main window as a user drives it: entries picked
// from the four combo boxes, texts typed into the two editable ones, and
// what the boxes show read back. Beside it, what the cases of the builder
// and the side tools share: whether a dialog of the program exists (shown
// or about to show), screenshots taken once the window holds still, and the
// command line program run for the bytes of a rule file.
//
//   ASSERT_TRUE(RunSteps(program, {Target("FILENAME"), Action("PREFIX"), Pick("digit"), TypeValue("3")}));
//   ASSERT_TRUE(program.Click(IDC_ADD_RULE));
//   EXPECT_EQ(program.Items(IDC_RULE_LIST).back(), "FILENAME PREFIX digit length:3");
#include <string>
#include <vector>

#include "tests/e2e/driver/e2e_program_win32.h"

namespace quorv::e2e {

// One thing the user does in the builder.
struct BuilderStep {
    enum Kind { kTarget, kAction, kPickParameter, kTypeParameter, kPickValue, kTypeValue };
    Kind kind;
    std::string text;  // the entry to pick, or the text to type
};
inline BuilderStep Target(const std::string& entry) { return {BuilderStep::kTarget, entry}; }
inline BuilderStep Action(const std::string& entry) { return {BuilderStep::kAction, entry}; }
inline BuilderStep Pick(const std::string& entry) { return {BuilderStep::kPickParameter, entry}; }
inline BuilderStep Type(const std::string& text) { return {BuilderStep::kTypeParameter, text}; }
inline BuilderStep PickValue(const std::string& entry) { return {BuilderStep::kPickValue, entry}; }
inline BuilderStep TypeValue(const std::string& text) { return {BuilderStep::kTypeValue, text}; }

// Does one step (the entry must be in its box's list) and lets the window
// settle; false when the entry is missing or the window did not answer.
bool RunStep(const Program& program, const BuilderStep& step);
bool RunSteps(const Program& program, const std::vector<BuilderStep>& steps);

// What the builder shows.
struct BuilderView {
    std::string target;      // the selected entry ("" when none)
    std::string action;
    std::string parameter;   // the edit field's text
    int parameterSelection;  // the list's selection, -1 when none (typed text)
    std::string label;       // the value label
    std::string value;       // the edit field's text
    bool valueEnabled;
    std::vector<std::string> actions;     // the lists, in order
    std::vector<std::string> parameters;
    std::vector<std::string> values;
};
BuilderView ReadBuilder(const Program& program);

// The rectangle of the "Rules builder" frame on the screen.
RECT BuilderFrameOnScreen(const Program& program);

// Whether a dialog or menu of the program other than its main window
// exists, shown or not yet shown: a modal window's loop takes posted
// messages (so the program looks idle) a moment before the window shows.
bool DialogOpen(const Program& program);
// What those windows are (class, caption, texts, buttons, shown or not),
// for a failure's message.
std::string DescribeDialogs(const Program& program);

// Saves a screenshot of an area of the screen once the program has drawn
// its window anew and the picture holds still (Wine paints a moment after
// the program is idle).
bool SaveSettledScreenshot(const Program& program, const std::string& name, const RECT& area);
// The same for a main window that the driver did not start.
bool SaveSettledScreenshot(const Window& main, const std::string& name, const RECT& area);

// Runs a program with these arguments (each quoted for the C runtime's
// reading of a command line), waits for its end and gives its exit code;
// -1 when it could not be started or did not end within the time limit.
int RunProcess(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs = 30000);
// The same with arguments in UTF-16 (names in any script).
int RunProcess(const std::string& program, const std::vector<std::wstring>& arguments, int timeoutMs = 30000);

}  // namespace quorv::e2e
