// Every input that ever found a fault in a reader, replayed through the
// fuzzing target that found it: tests/fuzz/regressions/<target>/<input>.
// Each must be accepted or refused with an input_error (or an explicit
// stop), within a second.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/fuzz/targets.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

namespace fs = std::filesystem;

const fs::path regressions = fs::path(ORVEL_SOURCE_DIR) / "tests" / "fuzz" / "regressions";

TEST(FuzzRegressions, EveryStoredInputEndsQuicklyWithoutAFault) {
  int replayed = 0;
  for (const fuzz::target& t : fuzz::targets) {
    const fs::path folder = regressions / std::string(t.name);
    if (!fs::is_directory(folder)) continue;
    for (const auto& e : fs::directory_iterator(folder)) {
      if (!e.is_regular_file()) continue;
      const std::string input = testing::read_file(e.path());
      testing::temp_dir dir;
      const auto start = std::chrono::steady_clock::now();
      EXPECT_NO_THROW(t.run(reinterpret_cast<const uint8_t*>(input.data()), input.size()))
          << t.name << ": " << e.path().filename();
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      // A guard against the hangs these inputs once caused, wide enough for a
      // busy machine under the sanitizers.
      EXPECT_LT(took.count(), 10.0) << t.name << ": " << e.path().filename();
      ++replayed;
    }
  }
  // The two findings that started the collection are there.
  EXPECT_TRUE(fs::exists(regressions / "coast" / "polygon_vertex_1e308"));
  EXPECT_TRUE(fs::exists(regressions / "scenario" / "spills_number_2e9"));
  EXPECT_GE(replayed, 2);
}

}  // namespace
}  // namespace orvel
