// Any bytes as the settings file: the values the window gets stay in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "system/system.h"
#include "view/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const quorv::SettingsReadResult read = quorv::DecodeSettings(bytes, quorv::SystemCodePage());
    const quorv::Settings& s = read.settings;
    if (s.theme < 0 || s.theme >= quorv::kThemeCount) std::abort();
    if (s.width < quorv::kMinWindowWidth || s.width > quorv::kMaxWindowExtent) std::abort();
    if (s.height < quorv::kMinWindowHeight || s.height > quorv::kMaxWindowExtent) std::abort();
    if (!read.complete && !s.shellMenu) std::abort();
    if (read.complete) {
        const quorv::SettingsReadResult again = quorv::DecodeSettings(quorv::EncodeSettings(s), quorv::SystemCodePage());
        if (!again.complete || !(again.settings == s)) std::abort();
    }
    return 0;
}
