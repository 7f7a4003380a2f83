#include "view/settings_file.h"

#include "formats/string_list_record.h"

namespace quorv {

namespace {

void PutBool(ByteWriter& writer, bool value) { writer.WriteInt32(value ? 1 : 0); }

// A check box takes only 0 or 1; anything else leaves the default.
bool CheckBox(std::int32_t stored, bool fallback) {
    if (stored == 0) return false;
    if (stored == 1) return true;
    return fallback;
}

}  // namespace

std::string EncodeSettings(const Settings& s) {
    ByteWriter writer;
    PutBool(writer, s.caseSensitive);
    PutBool(writer, s.quickView);
    PutBool(writer, s.exclude);
    PutBool(writer, s.subdir);
    writer.WriteString(s.lastFolder);
    writer.WriteString(s.copyMoveFolder);
    PutBool(writer, s.shellMenu);
    writer.WriteInt32(s.theme);
    writer.WriteInt32(s.width);
    writer.WriteInt32(s.height);
    PutBool(writer, s.maximized);
    return writer.Take();
}

SettingsReadResult DecodeSettings(std::string_view bytes, const CodePage& codePage, const StoredSizeLimits& limits) {
    SettingsReadResult result;
    Settings& s = result.settings;
    const Settings defaults;
    ByteReader reader(bytes, codePage);
    std::int32_t value = 0;

    // Each field is applied as soon as it is read; a fault stops there.
    auto fault = [&result]() {
        result.settings.shellMenu = true;
        return result;
    };
    bool* const boxes[] = {&s.caseSensitive, &s.quickView, &s.exclude, &s.subdir};
    for (bool* box : boxes) {
        if (!reader.ReadInt32(value)) return fault();
        *box = CheckBox(value, *box);
        ++result.fieldsRead;
    }
    std::string folder;
    if (!reader.ReadString(folder)) return fault();
    s.lastFolder = std::move(folder);
    ++result.fieldsRead;
    if (!reader.ReadString(folder)) return fault();
    s.copyMoveFolder = std::move(folder);
    ++result.fieldsRead;

    // The context-menu switch is held until the theme has been read.
    std::int32_t shellMenu = 0;
    if (!reader.ReadInt32(shellMenu)) return fault();
    ++result.fieldsRead;
    if (!reader.ReadInt32(value)) return fault();
    s.theme = value >= 0 && value < kThemeCount ? value : defaults.theme;
    s.shellMenu = CheckBox(shellMenu, defaults.shellMenu);
    ++result.fieldsRead;

    if (!reader.ReadInt32(value)) return fault();
    s.width = value >= limits.minWidth && value <= kMaxWindowExtent ? value : defaults.width;
    ++result.fieldsRead;
    if (!reader.ReadInt32(value)) return fault();
    s.height = value >= limits.minHeight && value <= kMaxWindowExtent ? value : defaults.height;
    ++result.fieldsRead;
    if (!reader.ReadInt32(value)) return fault();
    s.maximized = CheckBox(value, defaults.maximized);
    ++result.fieldsRead;

    result.complete = true;
    return result;
}

Settings LoadSettings(FileSystem& fs, const std::string& path, const CodePage& codePage,
                      const StoredSizeLimits& limits) {
    std::string bytes;
    if (fs.ReadFile(path, bytes) != IoResult::Ok) return Settings{};
    return DecodeSettings(bytes, codePage, limits).settings;
}

bool SaveSettings(FileSystem& fs, const std::string& path, const Settings& settings) {
    return fs.WriteFile(path, EncodeSettings(settings)) == IoResult::Ok;
}

bool MoveInSettings(FileSystem& fs, const std::string& programFolder, const std::string& dataFolder) {
    if (dataFolder.empty() || programFolder.empty() || dataFolder == programFolder) return false;
    const std::string mine = dataFolder + kSettingsFileName;
    FileStatus status;
    if (fs.GetStatus(mine, status)) return false;  // the user's own settings (or something in the way)
    std::string bytes;
    if (fs.ReadFile(programFolder + kSettingsFileName, bytes) != IoResult::Ok) return false;
    return fs.WriteFile(mine, bytes) == IoResult::Ok;
}

}  // namespace quorv
