// The names a run takes for the results of its key, which it removes from
// the folder before it writes its first: every name its writers make, and
// nothing else (an input named like a result but for its digits stays).
#include "app/run_folder.hpp"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

TEST(RunFolder, TheResultNamesOfAKey) {
  struct name_case {
    const char* name;
    bool result;
  };
  const name_case cases[] = {
      {"AB  _particles_000060.txt", true},          {"AB  _particles_:00000.txt", true},  // minute past 999999
      {"AB  _particles_00002_00060.txt", true},     {"AB  _grid_001_000060.txt", true},
      {"AB  _grid_subspill_012_000060.txt", true},  {"AB  _properties_001.txt", true},
      {"AB  _properties_subspill_1500.txt", true},  {"AB  _CF_003.txt", true},
      {"AB  _CF_subspill_003.txt", true},           {"AB  _properties_001.txt.AB  .7.partial", false},
      {"AB  _particles_notes.txt", false},          {"AB  _grid_001.txt", false},
      {"AB  _HNS.calib", false},                    {"AB  .run", false},
      {"AB  _properties_001.dat", false},           {"ABC _properties_001.txt", false},
      {"AB_properties_001.txt", false},             {"grid_coordinates.txt", false},
      {"AB  _properties_.txt", false},              {"AB  _grid_001_0000a0.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(result_of_key(c.name, "AB"), c.result) << c.name;
}

}  // namespace
}  // namespace orvel
