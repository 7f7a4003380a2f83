#include "builder/rule_file.h"

#include <algorithm>

namespace quorv {

std::string EncodeRuleFile(const std::vector<std::string>& rules) { return EncodeStringList(rules); }

FileError DecodeRuleFile(std::string_view bytes, const CodePage& codePage, std::vector<std::string>& rules) {
    const FileError error = DecodeStringList(bytes, codePage, rules);
    if (error != FileError::None) rules.clear();
    return error;
}

SaveResult SaveRuleFile(FileSystem& fs, const std::string& path, const std::vector<std::string>& rules) {
    return SaveResultFromIo(fs.WriteFile(path, EncodeRuleFile(rules)), path);
}

RuleLoadResult LoadRuleFile(FileSystem& fs, const std::string& path, const CodePage& codePage) {
    RuleLoadResult result;
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return result;
    result.opened = true;
    const FileError error = DecodeRuleFile(bytes, codePage, result.rules);
    result.ok = error == FileError::None;
    result.errorText = FileErrorText(error, kUnnamedFile);
    return result;
}

std::string FavouritesFolder(const std::string& programFolder) {
    return programFolder + kFavouritesFolderName;
}

std::string FileTitle(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return name;
    return name.substr(0, dot);
}

std::vector<std::string> ListFavourites(FileSystem& fs, const std::string& programFolder) {
    std::vector<std::string> titles;
    const std::string pattern =
        FavouritesFolder(programFolder) + fs.Separator() + "*" + kRuleFileExtension;
    fs.FindEntries(pattern, [&titles](const DirEntry& entry) {
        if (entry.name == "." || entry.name == ".." || entry.IsFolder()) return true;
        titles.push_back(FileTitle(entry.name));
        return true;
    });
    return titles;
}

std::string FavouritePath(const std::string& programFolder, char separator,
                          const std::string& title) {
    return FavouritesFolder(programFolder) + separator + title + kRuleFileExtension;
}

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names as the file system of that separator compares them.
bool SameTitle(const std::string& a, const std::string& b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

// A folder listing's order: ASCII letters in either case alike, then the
// bytes themselves so that the order is total.
bool TitleBefore(const std::string& a, const std::string& b) {
    const auto folded = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
    if (folded.first != a.end() && folded.second != b.end())
        return static_cast<unsigned char>(FoldAscii(*folded.first)) <
               static_cast<unsigned char>(FoldAscii(*folded.second));
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

void AddFavouritesOf(FileSystem& fs, const std::string& folder, std::vector<Favourite>& out) {
    for (std::string& title : ListFavourites(fs, folder)) {
        std::string path = FavouritePath(folder, fs.Separator(), title);
        out.push_back({std::move(title), std::move(path)});
    }
}

}  // namespace

std::vector<Favourite> ListFavouriteFiles(FileSystem& fs, const std::string& programFolder,
                                          const std::string& dataFolder) {
    std::vector<Favourite> list;
    AddFavouritesOf(fs, dataFolder, list);
    if (dataFolder == programFolder) return list;
    // The user's own come first, so a title the setup installed as well is
    // found taken already.
    const bool ignoreCase = fs.Separator() == '\\';
    std::vector<Favourite> installed;
    AddFavouritesOf(fs, programFolder, installed);
    for (Favourite& favourite : installed) {
        const bool taken = std::any_of(list.begin(), list.end(), [&](const Favourite& mine) {
            return SameTitle(mine.title, favourite.title, ignoreCase);
        });
        if (!taken) list.push_back(std::move(favourite));
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const Favourite& a, const Favourite& b) { return TitleBefore(a.title, b.title); });
    return list;
}

}  // namespace quorv
