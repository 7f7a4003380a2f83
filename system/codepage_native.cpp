// The native system code page: the text of the native build is UTF-8.
#include "platform/codepage.h"
#include "system/system.h"

namespace quorv {

const CodePage& SystemCodePage() {
    static const std::unique_ptr<CodePage> page = MakeUtf8CodePage();
    return *page;
}

// The native terminal takes the UTF-8 text as it is.
// A native terminal shows UTF-8 already: nothing to change or put back.
ConsoleOutputText::ConsoleOutputText() { previous_ = 0; }
ConsoleOutputText::~ConsoleOutputText() = default;

}  // namespace quorv
