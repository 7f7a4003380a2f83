#pragma once
// The clipboard's text, for tests of what a program copies there.
#include <optional>
#include <string>

namespace quorv::test {

// Replaces the clipboard's content by this text.
bool SetClipboardText(const std::wstring& text);
// The clipboard's text; nothing when it holds none or cannot be opened.
std::optional<std::wstring> ClipboardText();

}  // namespace quorv::test
