#pragma once
// The data folder: where the program keeps the files of the person using
// it (the settings file "Quorv.cfg", the handoff file "Quorv2.qv2", the
// error log and the user's own favourite rule files).
//
// A copy run from the folder the setup installed (the install folder the
// registry names) keeps them in a folder of the user's own, below the
// user's local application data: the install folder belongs to every user
// of the computer and no user may write there. Any other copy (a portable
// one, a test run) keeps them beside itself, in the program folder.
//
// Standard C++ only, and header-only: the context-menu extension, which
// links nothing of the program, compiles it too (with UTF-16 text), so the
// extension writes the handoff file exactly where the program it starts
// reads it. The system is asked elsewhere (the registry, the known folder,
// creating the folder); this only decides.
#include <string>
#include <string_view>

namespace quorv {

// The folder of the user's own files below the local application data.
inline constexpr const char* kUserDataFolderName = "Quorvane 2";

enum class DataFolderKind {
    Program,              // not the installed copy: the program folder
    User,                 // the installed copy: the user's own folder
    ProgramAfterFailure,  // the installed copy, but the user's folder could not be made
};

// What the system says.
template <class Char>
struct DataFolderFacts {
    std::basic_string<Char> programFolder;  // the running program's folder, with or without its separator
    std::basic_string<Char> installFolder;  // the registry's install folder as stored; empty when none
    std::basic_string<Char> localAppData;   // the user's local application data; empty when unknown
    Char separator = Char('\\');
};

template <class Char>
struct DataFolderChoice {
    std::basic_string<Char> folder;  // ending with the separator
    DataFolderKind kind = DataFolderKind::Program;
    std::basic_string<Char> userFolder;  // the user's folder tried (ProgramAfterFailure), else empty
};

namespace data_folder_detail {

template <class Char>
std::basic_string_view<Char> WithoutTrailingSeparators(std::basic_string_view<Char> folder, Char separator) {
    // "C:\" keeps its separator: "C:" alone names the current folder of the drive.
    while (folder.size() > 1 && (folder.back() == separator || folder.back() == Char('/'))) {
        if (folder.size() == 3 && folder[1] == Char(':')) break;
        folder.remove_suffix(1);
    }
    return folder;
}

template <class Char>
Char FoldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <class Char>
std::basic_string<Char> Widen(const char* ascii) {
    std::basic_string<Char> out;
    for (; *ascii; ++ascii) out.push_back(static_cast<Char>(*ascii));
    return out;
}

template <class Char>
std::basic_string<Char> WithSeparator(std::basic_string_view<Char> folder, Char separator) {
    std::basic_string<Char> out(folder);
    if (out.empty() || out.back() != separator) out.push_back(separator);
    return out;
}

}  // namespace data_folder_detail

// Whether two paths name the same folder as Windows compares names: a
// trailing separator does not count, and neither does the case of ASCII
// letters ('/' counts as the separator too). Names the system would only
// find equal after asking it (short 8.3 names, links) count as different.
template <class Char>
bool SameFolder(std::basic_string_view<Char> a, std::basic_string_view<Char> b, Char separator) {
    using namespace data_folder_detail;
    a = WithoutTrailingSeparators(a, separator);
    b = WithoutTrailingSeparators(b, separator);
    if (a.empty() || a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        Char x = a[i] == Char('/') ? separator : a[i];
        Char y = b[i] == Char('/') ? separator : b[i];
        if (FoldAscii(x) != FoldAscii(y)) return false;
    }
    return true;
}

// The running copy is the installed one: its folder is the install folder
// the registry names.
template <class Char>
bool IsInstalledCopy(const DataFolderFacts<Char>& facts) {
    return !facts.installFolder.empty() &&
           SameFolder<Char>(facts.programFolder, facts.installFolder, facts.separator);
}

// The user's own folder below the local application data, ending with the
// separator; empty when the local application data is unknown.
template <class Char>
std::basic_string<Char> UserDataFolder(std::basic_string_view<Char> localAppData, Char separator) {
    using namespace data_folder_detail;
    if (localAppData.empty()) return std::basic_string<Char>();
    std::basic_string<Char> folder = WithSeparator(WithoutTrailingSeparators(localAppData, separator), separator);
    folder += Widen<Char>(kUserDataFolderName);
    folder.push_back(separator);
    return folder;
}

// The decision. makeFolder(folder) is asked only for the installed copy,
// with the user's folder without its trailing separator; it creates the
// folder when it is missing and answers whether the folder is there now.
// When the user's folder cannot be had, the program folder is the answer
// and kind says so (the caller writes it into the error log).
template <class Char, class MakeFolder>
DataFolderChoice<Char> ChooseDataFolder(const DataFolderFacts<Char>& facts, MakeFolder&& makeFolder) {
    using namespace data_folder_detail;
    DataFolderChoice<Char> choice;
    choice.folder = WithSeparator<Char>(facts.programFolder, facts.separator);
    if (!IsInstalledCopy(facts)) return choice;
    const std::basic_string<Char> user = UserDataFolder<Char>(facts.localAppData, facts.separator);
    const std::basic_string<Char> bare = user.empty() ? user : user.substr(0, user.size() - 1);
    if (!user.empty() && makeFolder(bare)) {
        choice.folder = user;
        choice.kind = DataFolderKind::User;
        return choice;
    }
    choice.kind = DataFolderKind::ProgramAfterFailure;
    choice.userFolder = user;
    return choice;
}

// The error log's line when the installed copy falls back to the program
// folder (narrow text: the log is the program's).
inline std::string DataFolderFailureMessage(const std::string& userFolder) {
    if (userFolder.empty())
        return "The folder for your own files could not be found (no local application data folder); "
               "the program folder is used instead.";
    return "The folder for your own files, " + userFolder +
           ", could not be created; the program folder is used instead.";
}

}  // namespace quorv
