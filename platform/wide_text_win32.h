#pragma once
// The program's narrow text to and from UTF-16, for the few system calls
// that are only whole in their wide form (common dialogs, the shell, long
// paths). Narrow text is the process's ANSI code page (UTF-8 when the
// program runs with its manifest); the way back is the code page's one
// conversion (CodePage::FromUtf16).
#include <string>
#include <string_view>

namespace quorv::win {

std::wstring WideFromNarrow(std::string_view text);
std::string NarrowFromWide(std::wstring_view text);

}  // namespace quorv::win
