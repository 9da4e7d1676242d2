#include "control/data_folder.hpp"

#include <gtest/gtest.h>

#include "common/text.hpp"
#include "control/state/reset_state.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_run.hpp"

namespace orvel {
namespace {

TEST(DataFolder, PrefixRules) {
  reset_state();
  var_cfg.ruta = fixlen("  /data/run1/", 256);
  EXPECT_EQ(data_folder_path("costa.dat"), "/data/run1/costa.dat");
  var_run.datafolder__same_other = 1;
  EXPECT_EQ(input_path("bat.dat"), "bat.dat");
  var_run.datafolder__same_other = 2;
  EXPECT_EQ(input_path("bat.dat"), "/data/run1/bat.dat");
  var_cfg.ruta = fixlen("rel", 256);  // put directly before the name
  EXPECT_EQ(input_path("bat.dat"), "relbat.dat");
  reset_state();
  EXPECT_EQ(data_folder_path("costa.dat"), "costa.dat");
}

}  // namespace
}  // namespace orvel
