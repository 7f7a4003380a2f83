#include "tests/e2e/driver/e2e_screen_win32.h"

namespace quorv::e2e {

RECT UnionOf(const std::vector<RECT>& rects) {
    RECT all{};
    bool first = true;
    for (const RECT& r : rects) {
        if (first) {
            all = r;
            first = false;
        } else {
            ::UnionRect(&all, &all, &r);
        }
    }
    return all;
}

}  // namespace quorv::e2e
