#pragma once
// A GET of one small file over HTTP or HTTPS through WinHTTP, which is
// loaded from the system folder when a fetch is made: the program imports
// nothing of it, and a library of that name beside the program is never
// taken. The online update's seam to the network (view/online_update.h).
#include <cstddef>

#include "view/online_update.h"

namespace quorv {

// Asks the address once; every step (name lookup, connection, sending,
// receiving) may take up to timeoutMs. ok only for an answer 200 whose body
// has at most limit bytes.
FetchedFile FetchWebFile(const WebAddress& address, int timeoutMs, std::size_t limit);

}  // namespace quorv
