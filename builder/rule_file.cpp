#include "builder/rule_file.h"

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

}  // namespace quorv
