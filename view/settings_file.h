#pragma once
// The settings file "Quorv.cfg" in the data folder (beside the program, or
// the user's own folder for the installed copy): the main window's options
// and placement, read once at start and written once at exit.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "view/theme.h"

namespace quorv {

inline constexpr const char* kSettingsFileName = "Quorv.cfg";

// Limits the reader applies to stored values.
inline constexpr int kMinWindowWidth = 800;
inline constexpr int kMinWindowHeight = 600;
inline constexpr int kMaxWindowExtent = 32767;  // the largest window coordinate

struct Settings {
    bool caseSensitive = false;   // "Case"
    bool quickView = true;        // "QuickView"
    bool exclude = false;         // "Exclude"
    bool subdir = false;          // "Subdir"
    std::string lastFolder;
    std::string copyMoveFolder;
    bool shellMenu = false;       // "ShellMenu"
    int theme = 5;                // "Silver"
    // The client area's size to restore, in units of the 96-DPI design
    // (pixels at 100 %): a window keeps its look when the display scale
    // changes between two starts.
    int width = 800;
    int height = 600;
    bool maximized = false;

    bool operator==(const Settings& o) const {
        return caseSensitive == o.caseSensitive && quickView == o.quickView &&
               exclude == o.exclude && subdir == o.subdir && lastFolder == o.lastFolder &&
               copyMoveFolder == o.copyMoveFolder && shellMenu == o.shellMenu &&
               theme == o.theme && width == o.width && height == o.height &&
               maximized == o.maximized;
    }
};

// The eleven fields as bytes (38 bytes with both folders empty).
std::string EncodeSettings(const Settings& settings);

struct SettingsReadResult {
    Settings settings;
    // False when the bytes ended early or a string was malformed: the fields
    // read before the fault keep their values, the rest their defaults, and
    // the context-menu switch is on.
    bool complete = false;
    int fieldsRead = 0;  // 0 to 11
};

// The smallest size the reader accepts: 800 x 600 unless the window says
// that its smallest client area is smaller (a window of the minimum size
// with its frame), so that the size such a window stores is taken back.
struct StoredSizeLimits {
    int minWidth = kMinWindowWidth;
    int minHeight = kMinWindowHeight;
};

// Reads the settings from bytes; bytes after field 11 are ignored. A value
// the window cannot use (a check box other than 0 or 1, a theme outside 0 to
// 10, a size below the limits or above 32767) falls back to its default.
SettingsReadResult DecodeSettings(std::string_view bytes, const CodePage& codePage,
                                  const StoredSizeLimits& limits = StoredSizeLimits());

// Reads the settings file; a missing or unreadable file gives the defaults.
Settings LoadSettings(FileSystem& fs, const std::string& path, const CodePage& codePage,
                      const StoredSizeLimits& limits = StoredSizeLimits());

// Writes the settings file; false when it could not be written (the caller
// stays silent about it).
bool SaveSettings(FileSystem& fs, const std::string& path, const Settings& settings);

// Moving in: the first start of the installed copy, whose settings live in
// the user's own data folder, takes over the settings file an earlier
// version kept beside the program. When the data folder is another folder
// than the program folder, holds no settings file yet and the program folder
// holds one, that file's bytes are written into the data folder (a new file
// of the user's own: no attribute or access of the old one comes along).
// The old file is only read, never changed or deleted. True when the
// settings were taken over.
bool MoveInSettings(FileSystem& fs, const std::string& programFolder, const std::string& dataFolder);

}  // namespace quorv
