#pragma once
// The rules builder: a chain of dependent boxes (target, action, parameter,
// value) that composes one rule line. The window keeps nothing of its own:
// on every notification it calls the operation below with what the user did,
// then refreshes the controls that the returned parts name from the state.
//
//   target box (drop-down list)      CBN_SELCHANGE  -> SelectTarget
//   action box (drop-down list)      CBN_SELCHANGE  -> SelectAction
//   parameter box (editable)         CBN_SELCHANGE  -> PickParameter
//                                    CBN_EDITCHANGE -> TypeParameter
//   value box (editable)             CBN_SELCHANGE  -> PickValue
//                                    CBN_EDITCHANGE -> TypeValue
//
// Composing reads only the state: Compose gives the line or the message of
// the refusal. The destination-folder rule needs a folder from the folder
// picker first (NeedsFolder / FolderPickerStart; rule_list.h does the whole
// step with the picker).
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace quorv {

// One box of the builder as the window shows it.
struct BuilderBox {
    std::vector<std::string> entries;  // the drop-down list, in order
    int selected = -1;                 // the selected entry; -1: none (typed text, or nothing)
    std::string text;                  // the text shown: entries[selected] when an entry is selected
    bool enabled = true;
};

struct BuilderState {
    BuilderBox target;       // the five targets, fixed
    BuilderBox action;       // filled by the target
    BuilderBox parameter;    // filled by the action; the user may type instead of picking
    std::string valueLabel;  // "length:", "format:", "start:", "position:", "property:", "with" or empty
    BuilderBox value;        // filled by the parameter; free text whatever it lists
    // The destination folder. Composing a destination-folder rule writes it;
    // a destination-folder line read back into the builder puts its folder
    // here, so that the folder picker starts there. Changing the target
    // clears it.
    std::string folder;
};

// The parts of the window to refresh from the state after an operation.
enum BuilderPart : unsigned {
    kTargetBoxPart = 1u,
    kActionBoxPart = 2u,
    kParameterBoxPart = 4u,  // list, selection or text (never while the user types in it)
    kValueLabelPart = 8u,
    kValueBoxPart = 16u,     // list, selection, text, enabled state
    kAllBuilderParts = 31u,
};

// The texts the builder writes and shows.
extern const char kCompleteRuleMessage[];     // "Please complete the rule."
extern const char kIllegalCharacterSuffix[];  // "' is an illegal character for filename."
extern const char kForbiddenCharacters[];     // backslash / : * ? " < > |, in this order

// The fixed lists, in the order the boxes show them.
const std::vector<std::string>& TargetEntries();
// The action box for a target text (empty for DESTDIR and unknown texts).
const std::vector<std::string>& ActionEntries(const std::string& target);
// The parameter box for a target and action text (empty when it lists nothing).
const std::vector<std::string>& ParameterEntries(const std::string& target, const std::string& action);
// The value box for a picked FILENAME/FILEEXT parameter (empty when it lists nothing).
const std::vector<std::string>& ValueEntries(const std::string& parameter);

// The state when the window opens: the five targets, nothing selected, the
// other boxes empty, the value box disabled.
BuilderState InitialBuilderState();

// What a box shows: its selected entry, else its text.
std::string BoxText(const BuilderBox& box);

// ---- the operations (each returns the BuilderPart bits to refresh)
// A new target (index into the target list; -1 or out of range: none).
unsigned SelectTarget(BuilderState& state, int index);
// A new action (index into the action list; -1: none).
unsigned SelectAction(BuilderState& state, int index);
// A parameter picked from its list.
unsigned PickParameter(BuilderState& state, int index);
// The parameter's text as the user typed it (every edit change); the list
// selection is cleared. Never names the parameter box itself.
unsigned TypeParameter(BuilderState& state, const std::string& text);
// A value picked from its list / typed (no further effect).
unsigned PickValue(BuilderState& state, int index);
unsigned TypeValue(BuilderState& state, const std::string& text);

// ---- composing
struct ComposedRule {
    enum class Outcome {
        Line,      // text is the rule line
        Refused,   // text is the message to show; the rule list stays unchanged
        NoFolder,  // a destination-folder rule without a folder (the picker was cancelled)
    };
    Outcome outcome = Outcome::NoFolder;
    std::string text;
    bool ok() const { return outcome == Outcome::Line; }
};

// True when the target is DESTDIR: the folder must come from the picker.
bool NeedsFolder(const BuilderState& state);
// Where the folder picker starts: the folder of a line read back, else the last folder.
std::string FolderPickerStart(const BuilderState& state, const std::string& lastFolder);

// The line the builder writes for this state. A DESTDIR rule writes
// state.folder, ending with the separator. The character test is aware of
// double-byte characters: a trail byte that equals a forbidden character is
// no such character.
ComposedRule Compose(const BuilderState& state, const CodePage& cp, char separator = '\\');

// ---- reading a line back into the builder
// How FillBack restored the line.
enum class FillBackKind {
    Faithful,  // the builder now composes the very same line again
    Tokens,    // a line the builder cannot write: restored by blank-separated tokens
};

// Loads a rule line into the builder, running the operations above as if
// the user had made the same picks, so that the dependent lists, the label
// and the enabled states are rebuilt. Every line the builder writes comes
// back whole: quoted texts with blanks, the replacement of REPLACE, typed
// texts that begin like a list entry, values holding blanks or quotes, the
// folder of DESTDIR. A line the builder cannot write is read by tokens: the
// double quotes are dropped, the text is cut at single blanks and the first
// four tokens go to target, action, parameter (by prefix search, letter case
// ignored) and value (the part after a colon behind the first character).
FillBackKind FillBack(BuilderState& state, const std::string& line, const CodePage& cp,
                      char separator = '\\');

// The prefix search of a drop-down list: the first entry, trying the second
// to the last and then the first, that begins with token (ASCII letters
// compared without regard to case); -1 when none does.
int PrefixSearch(const std::vector<std::string>& entries, const std::string& token);

}  // namespace quorv
