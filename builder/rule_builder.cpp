#include "builder/rule_builder.h"

#include <string_view>

#include "platform/mbtext.h"

namespace quorv {

const char kCompleteRuleMessage[] = "Please complete the rule.";
const char kIllegalCharacterSuffix[] = "' is an illegal character for filename.";
const char kForbiddenCharacters[] = "\\/:*?\"<>|";

namespace {

using List = std::vector<std::string>;

const List kNone;
const List kTargets = {"FILENAME", "FILEEXT", "FORMAT", "DESTDIR", "PICCONVERT"};
const List kNameActions = {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE", "INSERT"};
const List kFormatActions = {"_HHMMSSFF_", ".HHMMSSFF.", "-HHMMSSFF-", "_HH-MM-SS-FF_", ".HH-MM-SS-FF."};
const List kPictureFormats = {"JPG", "BMP", "GIF", "PNG", "TIFF"};
const List kAddedValues = {"digit",    "date",           "file_create_date", "file_modify_date",
                           "file_last_access_date", "time", "file_create_time", "file_modify_time",
                           "file_last_access_time", "image", "mp3tagv1", "mp3tagv2"};
const List kRemoveParameters = {"all", "left", "right", "date", "(*)", "(*", "*)"};
const List kCaseParameters = {"all", "left", "right"};
const List kFrameRates = {"NTSC(30F)", "PAL(25F)", "Film(24F)"};
const List kStartValues = {"HH-MM-SS-FF"};
const List kDateFormats = {"long_local_date", "short_local_date", "mm-dd-yy", "mm-dd-yyyy", "dd-mm-yy",
                           "dd-mm-yyyy",      "yyyy-mm-dd",       "yy-mm-dd", "mm.dd.yy",   "mm.dd.yyyy",
                           "dd.mm.yy",        "dd.mm.yyyy",       "yyyy.mm.dd", "yy.mm.dd"};
const List kTimeFormats = {"H.M", "H.M.S", "I.M", "I.M.S"};
const List kImageProperties = {"resolution", "colors", "format"};
const List kTagV1Properties = {"Album", "Artist", "Title", "Track", "Year", "Comment", "Genre", "BitRate", "Frequency"};
const List kTagV2Properties = {"Composer", "Copyright", "Encodeby",  "OrigArtist", "wwwuser",
                               "Publisher", "Time",     "Language", "SubTitle"};

// The labels after which the value follows directly.
const char* const kColonLabels[] = {"length:", "format:", "start:", "position:", "property:"};
const char kWithLabel[] = "with";

bool IsNameTarget(const std::string& t) { return t == "FILENAME" || t == "FILEEXT"; }

bool OneOf(const std::string& s, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (s == w) return true;
    return false;
}

int IndexOf(const List& entries, std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return static_cast<int>(i);
    return -1;
}

void Clear(BuilderBox& box) {
    box.entries.clear();
    box.selected = -1;
    box.text.clear();
}

void Fill(BuilderBox& box, const List& entries, int selected) {
    box.entries = entries;
    box.selected = selected >= 0 && static_cast<std::size_t>(selected) < entries.size() ? selected : -1;
    box.text = box.selected >= 0 ? entries[static_cast<std::size_t>(box.selected)] : std::string();
}

void Select(BuilderBox& box, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < box.entries.size()) {
        box.selected = index;
        box.text = box.entries[static_cast<std::size_t>(index)];
    } else {
        box.selected = -1;
        box.text.clear();
    }
}

// The value text as a line read back gives it: the entry it names is selected.
void SetValueText(BuilderBox& box, const std::string& text) {
    box.selected = IndexOf(box.entries, text);
    box.text = text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool BeginsWithIgnoringCase(const std::string& entry, const std::string& token) {
    if (token.size() > entry.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (AsciiLower(entry[i]) != AsciiLower(token[i])) return false;
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

const std::vector<std::string>& TargetEntries() { return kTargets; }

const std::vector<std::string>& ActionEntries(const std::string& target) {
    if (IsNameTarget(target)) return kNameActions;
    if (target == "FORMAT") return kFormatActions;
    if (target == "PICCONVERT") return kPictureFormats;
    return kNone;
}

const std::vector<std::string>& ParameterEntries(const std::string& target, const std::string& action) {
    if (target == "FORMAT") return IndexOf(kFormatActions, action) >= 0 ? kFrameRates : kNone;
    if (!IsNameTarget(target)) return kNone;
    if (action == "PREFIX" || action == "SUFFIX") return kAddedValues;
    if (action == "REMOVE") return kRemoveParameters;
    if (action == "UPPERCASE" || action == "LOWERCASE") return kCaseParameters;
    return kNone;
}

const std::vector<std::string>& ValueEntries(const std::string& p) {
    if (OneOf(p, {"date", "file_create_date", "file_modify_date", "file_last_access_date"})) return kDateFormats;
    if (OneOf(p, {"time", "file_create_time", "file_modify_time", "file_last_access_time"})) return kTimeFormats;
    if (p == "image") return kImageProperties;
    if (p == "mp3tagv1") return kTagV1Properties;
    if (p == "mp3tagv2") return kTagV2Properties;
    return kNone;
}

BuilderState InitialBuilderState() {
    BuilderState s;
    Fill(s.target, kTargets, -1);
    s.value.enabled = false;
    return s;
}

std::string BoxText(const BuilderBox& box) {
    if (box.selected >= 0 && static_cast<std::size_t>(box.selected) < box.entries.size())
        return box.entries[static_cast<std::size_t>(box.selected)];
    return box.text;
}

// ---------------------------------------------------------------- operations

unsigned SelectTarget(BuilderState& s, int index) {
    Select(s.target, index);
    const std::string target = BoxText(s.target);
    Fill(s.action, ActionEntries(target), -1);
    s.folder.clear();
    unsigned parts = kTargetBoxPart | kActionBoxPart;
    if (target == "DESTDIR" || target == "PICCONVERT") {
        Clear(s.parameter);
        parts |= kParameterBoxPart;
    }
    return parts;
}

unsigned SelectAction(BuilderState& s, int index) {
    Select(s.action, index);
    Clear(s.parameter);
    Clear(s.value);
    s.valueLabel.clear();
    const unsigned parts = kActionBoxPart | kParameterBoxPart | kValueLabelPart | kValueBoxPart;

    const std::string target = BoxText(s.target);
    const std::string action = BoxText(s.action);
    if (IsNameTarget(target)) {
        if (action == "PREFIX" || action == "SUFFIX") {
            Fill(s.parameter, kAddedValues, -1);
            s.value.enabled = false;
        } else if (action == "REMOVE") {
            Fill(s.parameter, kRemoveParameters, 0);
            s.value.enabled = false;
        } else if (action == "REPLACE") {
            s.valueLabel = kWithLabel;
            s.value.enabled = true;
        } else if (action == "UPPERCASE" || action == "LOWERCASE") {
            Fill(s.parameter, kCaseParameters, 0);
            s.value.enabled = false;
        } else if (action == "INSERT") {
            s.valueLabel = "position:";
            s.value.enabled = true;
            s.value.text = "1";
        }
    } else if (target == "FORMAT" && s.action.selected >= 0) {
        // The value box keeps its enabled state until a rate is picked or typed.
        Fill(s.parameter, kFrameRates, -1);
        s.valueLabel = "start:";
        Fill(s.value, kStartValues, 0);
    }
    return parts;
}

unsigned PickParameter(BuilderState& s, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= s.parameter.entries.size()) return 0;
    Select(s.parameter, index);
    const std::string target = BoxText(s.target);
    if (target == "FORMAT") {
        s.value.enabled = true;
        return kParameterBoxPart | kValueBoxPart;
    }
    if (!IsNameTarget(target)) return kParameterBoxPart;

    const std::string picked = BoxText(s.parameter);
    Clear(s.value);
    if (OneOf(picked, {"left", "right", "digit"})) {
        s.valueLabel = "length:";
        s.value.text = "1";
    } else if (OneOf(picked, {"date", "file_create_date", "file_modify_date", "file_last_access_date", "time",
                              "file_create_time", "file_modify_time", "file_last_access_time"})) {
        s.valueLabel = "format:";
        Fill(s.value, ValueEntries(picked), 0);
    } else if (OneOf(picked, {"image", "mp3tagv1", "mp3tagv2"})) {
        s.valueLabel = "property:";
        Fill(s.value, ValueEntries(picked), -1);
    }
    // Any other entry leaves the label as it was.
    s.value.enabled = picked != "all";
    if (BoxText(s.action) == "REMOVE") s.value.enabled = OneOf(picked, {"left", "right", "date"});
    return kParameterBoxPart | kValueLabelPart | kValueBoxPart;
}

unsigned TypeParameter(BuilderState& s, const std::string& text) {
    s.parameter.selected = -1;
    s.parameter.text = text;
    const std::string target = BoxText(s.target);
    if (IsNameTarget(target)) {
        const std::string action = BoxText(s.action);
        if (action == "PREFIX" || action == "SUFFIX" || action == "REMOVE") {
            // A typed text is a literal and takes no value.
            s.valueLabel.clear();
            s.value.enabled = false;
            return kValueLabelPart | kValueBoxPart;
        }
        return 0;
    }
    if (target == "FORMAT") {
        s.value.enabled = true;
        return kValueBoxPart;
    }
    return 0;
}

unsigned PickValue(BuilderState& s, int index) {
    Select(s.value, index);
    return 0;
}

unsigned TypeValue(BuilderState& s, const std::string& text) {
    s.value.selected = -1;
    s.value.text = text;
    return 0;
}

// ---------------------------------------------------------------- composing

bool NeedsFolder(const BuilderState& s) { return BoxText(s.target) == "DESTDIR"; }

std::string FolderPickerStart(const BuilderState& s, const std::string& lastFolder) {
    return s.folder.empty() ? lastFolder : s.folder;
}

namespace {

// The first character of the forbidden set (in the set's order, not the
// text's) that the text holds, the asterisk left out when allowed; 0 when none.
char FirstForbidden(const CodePage& cp, const std::string& text, bool asteriskAllowed) {
    for (const char* c = kForbiddenCharacters; *c; ++c) {
        if (*c == '*' && asteriskAllowed) continue;
        if (mb::FindChar(cp, text, *c) != mb::npos) return *c;
    }
    return 0;
}

}  // namespace

ComposedRule Compose(const BuilderState& s, const CodePage& cp, char separator) {
    using Outcome = ComposedRule::Outcome;
    const std::string target = BoxText(s.target);
    if (target == "DESTDIR") {
        if (s.folder.empty()) return {Outcome::NoFolder, {}};
        std::string line = "DESTDIR " + s.folder;
        // The separator test is aware of double-byte characters whose trail byte equals it.
        if (mb::FindLastChar(cp, s.folder, separator) != s.folder.size() - 1) line += separator;
        return {Outcome::Line, line};
    }
    const std::string action = BoxText(s.action);
    if (action.empty()) return {Outcome::Refused, kCompleteRuleMessage};
    std::string line = target + " " + action;
    if (StartsWith(line, "PICCONVERT")) return {Outcome::Line, line};

    const std::string parameter = BoxText(s.parameter);
    if (parameter.empty()) return {Outcome::Refused, kCompleteRuleMessage};
    if (const char c = FirstForbidden(cp, parameter, action == "REMOVE"))
        return {Outcome::Refused, std::string("'") + c + kIllegalCharacterSuffix};
    // The text a REPLACE puts into the name goes into the name as it is: a
    // separator would send the file into a sub-folder, and Windows refuses
    // the other characters of the set in a name.
    if (s.value.enabled && s.valueLabel == kWithLabel) {
        if (const char c = FirstForbidden(cp, BoxText(s.value), false))
            return {Outcome::Refused, std::string("'") + c + kIllegalCharacterSuffix};
    }
    if (s.parameter.selected >= 0)
        line += " " + parameter;
    else
        line += " \"" + parameter + "\"";

    if (s.value.enabled) {
        const std::string value = BoxText(s.value);
        bool colonLabel = false;
        for (const char* label : kColonLabels) colonLabel = colonLabel || s.valueLabel == label;
        if (colonLabel)
            line += " " + s.valueLabel + value;
        else if (s.valueLabel == kWithLabel)
            line += " with \"" + value + "\"";
        else
            line += " \"" + value + "\"";
    }
    return {Outcome::Line, line};
}

// ---------------------------------------------------------------- reading back

int PrefixSearch(const std::vector<std::string>& entries, const std::string& token) {
    const std::size_t n = entries.size();
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t i = k % n;  // the second to the last, then the first
        if (BeginsWithIgnoringCase(entries[i], token)) return static_cast<int>(i);
    }
    return -1;
}

namespace {

// The value part of a line as the builder writes it behind the parameter.
struct ValuePart {
    bool present = false;
    std::string label;  // a colon label, "with", or empty (a quoted value)
    std::string value;
};

bool ReadValuePart(std::string_view after, ValuePart& out) {
    if (after.empty()) return true;
    if (after[0] != ' ') return false;
    const std::string_view v = after.substr(1);
    out.present = true;
    for (const char* label : kColonLabels) {
        if (StartsWith(v, label)) {
            out.label = label;
            out.value = std::string(v.substr(std::string_view(label).size()));
            return true;
        }
    }
    // The value is written unescaped: it runs to the quote that ends the line.
    if (StartsWith(v, "with \"") && v.size() >= 7 && v.back() == '"') {
        out.label = kWithLabel;
        out.value = std::string(v.substr(6, v.size() - 7));
        return true;
    }
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
        out.value = std::string(v.substr(1, v.size() - 2));
        return true;
    }
    return false;
}

// The user's steps that write the line, replayed on s; false when the line
// is no line of the builder's forms.
bool ReplayLine(BuilderState& s, const std::string& line, const CodePage& cp, char separator) {
    const std::string_view text(line);
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return false;
    const int target = IndexOf(s.target.entries, text.substr(0, blank));
    if (target < 0) return false;
    SelectTarget(s, target);
    const std::string_view rest = text.substr(blank + 1);

    if (BoxText(s.target) == "DESTDIR") {
        if (rest.empty()) return false;
        SelectAction(s, -1);
        s.folder = std::string(rest);
        return true;
    }
    if (BoxText(s.target) == "PICCONVERT") {
        const int action = IndexOf(s.action.entries, rest);
        if (action < 0) return false;
        SelectAction(s, action);
        return true;
    }

    const std::size_t actionEnd = rest.find(' ');
    if (actionEnd == std::string_view::npos) return false;
    const int action = IndexOf(s.action.entries, rest.substr(0, actionEnd));
    if (action < 0) return false;
    SelectAction(s, action);
    const std::string_view remainder = rest.substr(actionEnd + 1);
    if (remainder.empty()) return false;

    // A typed text is quoted and holds no double quote; a picked one is a bare word.
    bool typed = false;
    std::string parameter;
    std::string_view after;
    if (remainder[0] == '"') {
        const std::size_t close = remainder.find('"', 1);
        if (close == std::string_view::npos) return false;
        typed = true;
        parameter = std::string(remainder.substr(1, close - 1));
        after = remainder.substr(close + 1);
    } else {
        const std::size_t end = remainder.find(' ');
        parameter = std::string(remainder.substr(0, end));
        after = end == std::string_view::npos ? std::string_view() : remainder.substr(end);
    }
    ValuePart value;
    if (!ReadValuePart(after, value)) return false;

    if (!typed) {
        const int picked = IndexOf(s.parameter.entries, parameter);
        if (picked < 0) return false;
        PickParameter(s, picked);
    } else {
        BuilderState plain = s;
        TypeParameter(plain, parameter);
        if (value.present && (!plain.value.enabled || plain.valueLabel != value.label)) {
            // The label stays from an entry picked before the text was typed
            // over it (UPPERCASE: pick "left", then type): find such an entry.
            for (std::size_t k = 0; k < s.parameter.entries.size(); ++k) {
                BuilderState tried = s;
                PickParameter(tried, static_cast<int>(k));
                TypeParameter(tried, parameter);
                if (tried.value.enabled && tried.valueLabel == value.label) {
                    plain = tried;
                    break;
                }
            }
        }
        s = plain;
    }
    if (value.present) SetValueText(s.value, value.value);

    const ComposedRule again = Compose(s, cp, separator);
    return again.ok() && again.text == line;
}

// The blank-separated tokens of a line without its double quotes (at most four).
std::vector<std::string> Tokens(const std::string& line) {
    std::string text;
    text.reserve(line.size());
    for (char c : line)
        if (c != '"') text += c;
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (pos < text.size() && tokens.size() < 4) {
        const std::size_t blank = text.find(' ', pos);
        if (blank == std::string::npos) {
            tokens.push_back(text.substr(pos));
            break;
        }
        tokens.push_back(text.substr(pos, blank - pos));
        pos = blank + 1;
    }
    return tokens;
}

void FillByTokens(BuilderState& s, const std::string& line) {
    const std::vector<std::string> tokens = Tokens(line);
    if (tokens.empty()) return;
    const int target = PrefixSearch(s.target.entries, tokens[0]);
    SelectTarget(s, target >= 0 ? target : s.target.selected);
    if (tokens.size() < 2) return;
    const int action = PrefixSearch(s.action.entries, tokens[1]);
    SelectAction(s, action >= 0 ? action : s.action.selected);
    if (tokens.size() < 3) return;
    const int parameter = PrefixSearch(s.parameter.entries, tokens[2]);
    if (parameter >= 0) {
        PickParameter(s, parameter);
    } else {
        // Put into the edit field as text: no edit notification follows.
        s.parameter.selected = -1;
        s.parameter.text = tokens[2];
    }
    if (tokens.size() < 4) return;
    // A colon behind the token's first character: the value is what follows the first colon.
    const std::string& v = tokens[3];
    SetValueText(s.value, v.find(':', 1) != std::string::npos ? v.substr(v.find(':') + 1) : v);
}

}  // namespace

FillBackKind FillBack(BuilderState& state, const std::string& line, const CodePage& cp, char separator) {
    BuilderState replayed = state;
    if (ReplayLine(replayed, line, cp, separator)) {
        state = std::move(replayed);
        return FillBackKind::Faithful;
    }
    FillByTokens(state, line);
    return FillBackKind::Tokens;
}

}  // namespace quorv
