#pragma once
// Rule files ("*.qvr": the rule lines as one string list record) and the
// favourites folder "favorite", whose rule files the main window offers as
// favourite rules: beside the program, and for the installed copy also in
// the user's data folder (formats/data_folder.h).
#include <string>
#include <string_view>
#include <vector>

#include "formats/string_list_record.h"
#include "platform/filesystem.h"

namespace quorv {

inline constexpr const char* kFavouritesFolderName = "favorite";
inline constexpr const char* kRuleFileExtension = ".qvr";

// The bytes of a rule file (an empty list gives 00 00).
std::string EncodeRuleFile(const std::vector<std::string>& rules);

// Reads a rule file's lines; on failure rules is left empty and the error
// says why (the rule list must then stay as it was).
FileError DecodeRuleFile(std::string_view bytes, const CodePage& codePage, std::vector<std::string>& rules);

SaveResult SaveRuleFile(FileSystem& fs, const std::string& path, const std::vector<std::string>& rules);

// Whether the favourites are to be rescanned after a save (not after a
// write failure).
inline bool RescanFavouritesAfter(const SaveResult& saved) {
    return saved.outcome != SaveResult::Outcome::WriteFailed;
}

struct RuleLoadResult {
    bool opened = false;  // false: the file could not be read; no message
    bool ok = false;      // true: rules holds the file's lines, in order
    std::vector<std::string> rules;
    // For a damaged file: the message ("An attempt was made to access an
    // unnamed file past its end." ...); the rule list then stays unchanged.
    std::string errorText;
};
RuleLoadResult LoadRuleFile(FileSystem& fs, const std::string& path, const CodePage& codePage);

// The program folder (ending with the separator) + "favorite".
std::string FavouritesFolder(const std::string& programFolder);

// The name without its last extension: "Web photos.qvr" -> "Web photos",
// "a.b.qvr" -> "a.b", "plain" -> "plain".
std::string FileTitle(const std::string& name);

// The titles of the rule files in the favourites folder, in the order the
// file system lists them; "." "..", and folders are left out. Empty when the
// folder is missing.
std::vector<std::string> ListFavourites(FileSystem& fs, const std::string& programFolder);

// The path of the favourite with this title.
std::string FavouritePath(const std::string& programFolder, char separator,
                          const std::string& title);

// A favourite rule: the title the list shows and the rule file it loads.
struct Favourite {
    std::string title;
    std::string path;
    bool operator==(const Favourite& o) const { return title == o.title && path == o.path; }
};

// The favourites list of a program whose own files lie in dataFolder (both
// folders end with the separator). When the data folder is the program
// folder (any copy but the installed one) it is that folder's rule files in
// the order the file system lists them, as ever. For the installed copy it
// is one list of the rule files the setup put beside the program and the
// user's own in the data folder: a title found in both (letter case aside
// where the separator is '\\', as Windows compares names) is listed once
// and loads the user's file, and the titles are sorted as a folder listing
// sorts names (ASCII letters in either case alike).
std::vector<Favourite> ListFavouriteFiles(FileSystem& fs, const std::string& programFolder,
                                          const std::string& dataFolder);

}  // namespace quorv
