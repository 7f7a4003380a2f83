// Parts of the file-system seam shared by every implementation: the
// wild-card match of a directory search.
#include "platform/filesystem.h"

namespace quorv {
namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// '*' and '?' glob over the whole name; iterative with one backtrack point,
// so a long pattern full of asterisks cannot blow the stack or take
// exponential time.
bool Glob(std::string_view p, std::string_view n) {
    std::size_t pi = 0, ni = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
        } else if (pi < p.size() && (p[pi] == '?' || FoldAscii(p[pi]) == FoldAscii(n[ni]))) {
            ++pi;
            ++ni;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

bool FileSystem::ListNames(const std::string& folder, const std::function<bool(std::string_view name)>& visit) {
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != Separator()) pattern += Separator();
    pattern += "*";
    return FindNames(pattern, [&](const DirEntry& e) { return e.name == "." || e.name == ".." || visit(e.name); });
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    if (Glob(pattern, name)) return true;
    const bool noDot = name.find('.') == std::string_view::npos;
    if (!noDot) return false;
    // "name.*" also finds "name"; "*." finds names without an extension.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return Glob(pattern.substr(0, pattern.size() - 2), name);
    if (!pattern.empty() && pattern.back() == '.')
        return Glob(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

}  // namespace quorv
