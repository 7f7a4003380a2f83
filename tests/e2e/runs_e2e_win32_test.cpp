// Runs end to end.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

}  // namespace
}  // namespace quorv::e2e
