// Every test starts with the forcing readers' kept files closed and their
// list origins forgotten, as a fresh run does.
#include <gtest/gtest.h>

#include "forcing/field_files.hpp"

namespace {

class fresh_readers : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { orvel::reset_forcing_readers(); }
};

const bool registered = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new fresh_readers);
  return true;
}();

}  // namespace
