#include "forcing/idbvip.hpp"

#include <gtest/gtest.h>

namespace orvel {
namespace {
TEST(Idtang, Placeholder) { SUCCEED(); }
}  // namespace
}  // namespace orvel
