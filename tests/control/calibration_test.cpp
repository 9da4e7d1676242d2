// The HNS calibration file: its name, the records routed by the options read
// before them, and the combinations that would leave a constant in use at 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/scenario.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::temp_dir;
using testing::write_file;

class Calibration : public ::testing::Test {
 protected:
  // A 2-D HNS run with spreading and evaporation off, data folder "data/".
  void SetUp() override {
    reset_state();
    var_run.sim__2d_3d = 1;
    var_cfg.obj__floating_fuel_hns = 3;
    var_cfg.spreadalgorithm__adios2_leher_hns = 1;
    var_cfg.ruta = fixlen("data/", 256);
    std::filesystem::create_directory("data");
  }
  void TearDown() override { reset_state(); }

  // Writes the calibration file of key "HN  " under data/, after one comment
  // line, and reads it.
  void read(const std::string& records) {
    write_file("data/HN  _HNS.calib", "* HNS calibration\n" + records);
    leo_param_calib("HN  ");
  }

  temp_dir dir;
};

TEST_F(Calibration, RecordsFollowTheOptions) {
  auto& c = var_calib;
  var_cfg.spreading__y_n = 1;
  // Algorithm 3 replaces the scenario's 1; record 2 is its rate constant.
  read("3\n0.15\n1\n0.0292\n2.5\n1\n1.3\n");
  EXPECT_EQ(var_cfg.spreadalgorithm__adios2_leher_hns, 3);
  EXPECT_EQ(c.spreadingrateconstant, 0.15);
  EXPECT_EQ(c.km, 0.0f);
  EXPECT_EQ(c.calibevap_option, 1);
  EXPECT_EQ(c.a, 0.0292f);
  EXPECT_EQ(c.k2, 0.0);
  EXPECT_EQ(c.wind_min, 2.5f);
  EXPECT_EQ(c.calibdisol_option, 1);
  EXPECT_EQ(c.dissolparam, 1.3f);
  EXPECT_EQ(c.kd, 0.0f);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"data"});  // calib.tmp is gone

  // Algorithm 2, evaporation option 2, dissolution option 0.
  c = var_calib_block{};
  read("2\n0.002\n2\n1.21\n3.0\n0\n0.0001\n");
  EXPECT_EQ(var_cfg.spreadalgorithm__adios2_leher_hns, 2);
  EXPECT_EQ(c.km, 0.002f);
  EXPECT_EQ(c.spreadingrateconstant, 0.0);
  EXPECT_EQ(c.calibevap_option, 2);
  EXPECT_EQ(c.k2, 1.21);
  EXPECT_EQ(c.a, 0.0f);
  EXPECT_EQ(c.wind_min, 3.0f);
  EXPECT_EQ(c.calibdisol_option, 0);
  EXPECT_EQ(c.kd, 0.0001f);
  EXPECT_EQ(c.dissolparam, 0.0f);
}

TEST_F(Calibration, NameIsFolderKeyAndSuffix) {
  // The data folder prefixes the name in every run, whatever the run-control
  // file says; the blanks of the key stay in the name.
  var_run.datafolder__same_other = 1;
  write_file("data/ab  _HNS.calib", "2\n0.002\n2\n1.21\n3.0\n0\n0.0001\n");
  leo_param_calib("ab  ");
  EXPECT_EQ(var_calib.k2, 1.21);

  // A data-folder line may start with a blank to name an absolute folder.
  reset_state();
  var_cfg.ruta = fixlen(" " + (dir.path() / "data").string() + "/", 256);
  write_file("data/ab  _HNS.calib", "2\n0.003\n2\n1.21\n3.0\n0\n0.0001\n");
  leo_param_calib("ab  ");
  EXPECT_EQ(var_calib.km, 0.003f);

  try {
    leo_param_calib("zz  ");
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), (dir.path() / "data").string() + "/zz  _HNS.calib");
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"data"});
}

struct calib_case {
  const char* name;
  int32_t dimension, spreading, evaporation;
  const char* records;
  int64_t line;  // 0: accepted
  const char* message;
};

TEST_F(Calibration, ConstantsInUseMustBeGiven) {
  const calib_case cases[] = {
      {"spreading with algorithm 4", 1, 1, 0, "4\n0.002\n2\n1.21\n3\n0\n1e-4\n", 2,
       "spreadalgorithm__adios2_leher_hns must be 1, 2 or 3 when spreading is on, found 4"},
      {"spreading with algorithm 0", 2, 1, 0, "0\n0.002\n2\n1.21\n3\n0\n1e-4\n", 2,
       "spreadalgorithm__adios2_leher_hns must be 1, 2 or 3 when spreading is on, found 0"},
      {"no spreading, algorithm 4", 1, 0, 0, "4\n0.002\n2\n1.21\n3\n0\n1e-4\n", 0, ""},
      {"algorithm 1 without k2", 1, 1, 0, "1\n0.002\n1\n0.0292\n3\n0\n1e-4\n", 5,
       "spreading algorithm 1 needs k2, but calibevap_option 1 makes this record the evaporation "
       "coefficient a: k2 would be left at 0"},
      {"algorithm 1 without k2, no spreading", 1, 0, 1, "1\n0.002\n1\n0.0292\n3\n0\n1e-4\n", 0, ""},
      {"2-D evaporation without km", 1, 0, 1, "3\n0.15\n2\n1.21\n3\n0\n1e-4\n", 3,
       "evaporation with calibevap_option 2 needs km, but spreading algorithm 3 makes this record "
       "the spreading rate constant: km would be left at 0"},
      {"no evaporation, no km", 1, 1, 0, "3\n0.15\n2\n1.21\n3\n0\n1e-4\n", 0, ""},
      {"3-D evaporation without a", 2, 0, 1, "2\n0.002\n2\n1.21\n3\n0\n1e-4\n", 5,
       "evaporation in a 3-D run computes its coefficient from a, but calibevap_option 2 makes "
       "this record k2: a would be left at 0"},
      {"3-D evaporation with a", 2, 1, 1, "3\n0.15\n1\n0.0292\n3\n1\n1.3\n", 0, ""},
      {"2-D evaporation with km", 1, 1, 1, "2\n0.002\n0\n1.21\n3\n0\n1e-4\n", 0, ""},
  };
  for (const calib_case& w : cases) {
    SCOPED_TRACE(w.name);
    reset_state();
    var_run.sim__2d_3d = w.dimension;
    var_cfg.obj__floating_fuel_hns = 3;
    var_cfg.ruta = fixlen("data/", 256);
    var_cfg.spreading__y_n = w.spreading;
    var_cfg.evaporation__y_n = w.evaporation;
    if (w.line == 0) {
      EXPECT_NO_THROW(read(w.records));
      continue;
    }
    try {
      read(w.records);
      ADD_FAILURE() << "no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "data/HN  _HNS.calib");
      EXPECT_EQ(e.line(), w.line);
      EXPECT_EQ(e.message(), w.message);
    }
    EXPECT_EQ(dir.files(), std::vector<std::string>{"data"});
  }
}

TEST_F(Calibration, ShortFile) {
  try {
    read("2\n0.002\n2\n1.21\n3\n0\n");
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "data/HN  _HNS.calib");
    EXPECT_NE(e.message().find("end of file"), std::string::npos) << e.what();
  }
  EXPECT_EQ(dir.files(), std::vector<std::string>{"data"});
}

}  // namespace
}  // namespace orvel
