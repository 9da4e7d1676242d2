#include "transport/blowout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/errors.hpp"
#include "tests/support/test_support.hpp"
#include "tests/transport/transport_setup.hpp"
#include "transport/random.hpp"

namespace orvel {
namespace {

using testing::fresh_state;
using testing::set_grid;
using testing::temp_dir;
using testing::write_file;

constexpr double factor = 111317.359375;

// A model grid around (356.5, 43.2) of depth `depth` and a 3-D oil run of
// `spills` spills of `np` particles.
void blowout_run(int32_t np, int32_t spills, float depth) {
  set_grid(356.0, 42.7, 0.01, 0.01, 101, 101, depth);
  var_mallas.latmean = 43.2;
  var_run.particle_number = np;
  var_cfg.spills_number = spills;
  var_run.sim__2d_3d = 2;
  auto& p = var_part;
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part}) a->allocate(np, spills);
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) a->allocate(spills);
  for (auto* a : {&p.par_surf, &p.par_beached, &p.par_column, &p.par_floor}) a->allocate(spills);
  var_spill.area_oil.allocate(spills);
}

TEST(Blowout, DiscAtTheJetEnd) {
  fresh_state fs;
  temp_dir dir;
  write_file("FinalJetAxisPosition.txt", "x y depth radius\n-3.5, 43.2, 120, 15\n");
  blowout_run(500, 2, 200.0f);
  rand(0);  // the placement seeds the generator itself
  part_ini_blowout(1);
  EXPECT_EQ(var_blowout.jetterminalcenterx, -3.5 + 360.0);
  EXPECT_EQ(var_blowout.jetterminalcentery, 43.2);
  EXPECT_EQ(var_blowout.jetterminallevel, 120.0);
  EXPECT_EQ(var_blowout.jetterminalradius, 15.0);
  EXPECT_EQ(var_spill.area_oil(1), static_cast<float>(static_cast<double>(3.14159f) * 225.0));
  EXPECT_NEAR(var_spill.area_oil(1), 706.86, 0.01);
  const double east = std::cos(43.2 * static_cast<double>(3.1416f) / 180.0) * factor;
  double sx = 0, sy = 0;
  for (int32_t p = 1; p <= 500; ++p) {
    EXPECT_EQ(var_part.indp(p, 1), 5);
    EXPECT_EQ(var_part.z_part(p, 1), 120.0 / factor);
    const double dx = (var_part.x_part(p, 1) - 356.5) * east, dy = (var_part.y_part(p, 1) - 43.2) * factor;
    EXPECT_LE(std::hypot(dx, dy), 15.0 + 1e-3);
    sx += var_part.x_part(p, 1);
    sy += var_part.y_part(p, 1);
  }
  EXPECT_NEAR(var_part.x_cg(1), sx / 500, 1e-12);
  EXPECT_NEAR(var_part.y_cg(1), sy / 500, 1e-12);
  EXPECT_NEAR(var_part.z_cg(1), 120.0 / factor, 1e-15);
  EXPECT_EQ(var_part.par_floor(1), 0);
  // Particle 1 by hand: theta = 6.28318 R1, r = R2 * radius.
  srand(0);
  const float r1 = rand(0), r2 = rand(0);
  const float th = r1 * 6.28318f, r = static_cast<float>(r2 * 15.0);
  EXPECT_EQ(var_part.x_part(1, 1), 356.5 + static_cast<float>(static_cast<double>(std::cos(th) * r) / east));
  EXPECT_EQ(var_part.y_part(1, 1), 43.2 + static_cast<float>(static_cast<double>(std::sin(th) * r) / factor));
  // The second spill reads the file again and draws the same numbers.
  part_ini_blowout(2);
  for (int32_t p = 1; p <= 500; ++p) {
    EXPECT_EQ(var_part.x_part(p, 2), var_part.x_part(p, 1));
    EXPECT_EQ(var_part.y_part(p, 2), var_part.y_part(p, 1));
  }
}

TEST(Blowout, ValuesOverSeveralLinesAndTheSeaFloor) {
  fresh_state fs;
  temp_dir dir;
  write_file("FinalJetAxisPosition.txt", "header\n-3.5 43.2\n\n120\n15 99 98\n");
  // A sea 100 m deep: the jet end at 120 m lies under the floor; its
  // particles start on it, at 100 m, and the run says so once.
  blowout_run(20, 2, 100.0f);
  ::testing::internal::CaptureStderr();
  part_ini_blowout(1);
  part_ini_blowout(2);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "orvel: warning: the blowout jet ends at 120.0 m, at or below the sea floor (100.0 m deep there): its "
            "particles start on the floor\n");
  EXPECT_EQ(var_blowout.jetterminalradius, 15.0);
  for (int32_t s = 1; s <= 2; ++s) {
    EXPECT_EQ(var_part.par_floor(s), 20);
    for (int32_t p = 1; p <= 20; ++p) {
      EXPECT_EQ(var_part.indp(p, s), -1);
      EXPECT_EQ(var_part.z_part(p, s), 100.0 / factor);
    }
  }
  EXPECT_NEAR(var_part.z_cg(1) * factor, 100.0, 1e-9);
  // A jet ending just above the floor starts in the column, without a word.
  write_file("FinalJetAxisPosition.txt", "header\n-3.5 43.2 99.9 15\n");
  var_part.indp.deallocate();
  ::testing::internal::CaptureStderr();
  part_ini_blowout(1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(var_part.par_floor(1), 0);
  EXPECT_EQ(var_part.indp(1, 1), 5);
  // A jet ending exactly at the floor: on the floor, and said.
  write_file("FinalJetAxisPosition.txt", "header\n-3.5 43.2 100.0 15\n");
  var_part.indp.deallocate();
  ::testing::internal::CaptureStderr();
  part_ini_blowout(1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "orvel: warning: the blowout jet ends at 100.0 m, at or below the sea floor (100.0 m deep there): its "
            "particles start on the floor\n");
  EXPECT_EQ(var_part.par_floor(1), 20);
  for (int32_t p = 1; p <= 20; ++p) EXPECT_EQ(var_part.indp(p, 1), -1) << p;
}

TEST(Blowout, JetOutsideTheGridAndNoOilArea) {
  fresh_state fs;
  temp_dir dir;
  write_file("FinalJetAxisPosition.txt", "header\n10.0, 43.2, 120, 15\n");
  blowout_run(10, 1, 100.0f);
  var_spill.area_oil.deallocate();  // an HNS run has no oil area
  part_ini_blowout(1);
  // Outside the domain box nothing would move them: counted outside.
  for (int32_t p = 1; p <= 10; ++p) EXPECT_EQ(var_part.indp(p, 1), -2);
  EXPECT_EQ(var_part.par_floor(1), 0);
}

TEST(Blowout, DryCellsOfTheCurrentMask) {
  fresh_state fs;
  temp_dir dir;
  write_file("FinalJetAxisPosition.txt", "header\n-3.5, 43.2, 120, 200\n");
  blowout_run(300, 1, 500.0f);
  var_cfg.currentgrid_variable__y_n = 1;
  var_run.search_land__mask_maskandcoast = 1;
  // U-current nodes every 0.01 degree from (356.45, 43.15), 11 x 11, latitude
  // fastest; the western half of the mask is dry.
  var_cfg.xyzcurrentnodes_number[0] = 121;
  var2.xcorr_u.allocate(121);
  var2.ycorr_u.allocate(121);
  for (int i = 0; i < 11; ++i)
    for (int j = 0; j < 11; ++j) {
      var2.xcorr_u(i * 11 + j + 1) = 356.45 + i * 0.01;
      var2.ycorr_u(i * 11 + j + 1) = 43.15 + j * 0.01;
    }
  var2.mask.allocate(11, 11);
  for (int i = 1; i <= 11; ++i)
    for (int j = 1; j <= 11; ++j) var2.mask(i, j) = i <= 5 ? 0 : 1;
  part_ini_blowout(1);
  int32_t dry = 0;
  for (int32_t p = 1; p <= 300; ++p) {
    const float ox = static_cast<float>(356.45), sx = static_cast<float>(356.46) - ox;
    const bool west = static_cast<int32_t>((var_part.x_part(p, 1) - ox) / sx) + 1 <= 5;
    EXPECT_EQ(var_part.indp(p, 1), west ? 2 : 5) << p;
    dry += west;
  }
  EXPECT_GT(dry, 50);
  EXPECT_EQ(var_part.par_beached(1), dry);
}

TEST(Blowout, MissingJetFileNamesIt) {
  fresh_state fs;
  temp_dir dir;
  blowout_run(5, 1, 100.0f);
  try {
    part_ini_blowout(1);
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_NE(e.file().find("FinalJetAxisPosition.txt"), std::string::npos);
  }
}

void restart_run(int32_t np, int32_t spills) {
  var_run.particle_number = np;
  var_cfg.spills_number = spills;
  var_mallas.factor = factor;
  auto& p = var_part;
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part}) a->allocate(np, spills);
  for (auto* a : {&p.x_cg, &p.y_cg, &p.z_cg}) a->allocate(spills);
  for (auto* a : {&p.par_surf, &p.par_beached, &p.par_column, &p.par_floor, &p.par_pause}) a->allocate(spills);
  var_cfg.spillstarttime.allocate(spills);
  for (int32_t s = 1; s <= spills; ++s) var_cfg.spillstarttime(s) = 1.0 + 0.5 * s;
}

const char* restart_text =
    "id lon lat depth state\n"
    "1 -3.5 43.0 0 1\n"
    "2 -3.4 43.1 10 5.0\n"
    "3 -3.3, 43.2, 20, -1\n"
    "4 -3.2 43.3 0 0\n"
    "5 -3.1 43.4\n 0 4\n"
    "6 -3.0 43.5 0 1 surplus\n";

TEST(Restart, PositionsAndStatesSpillBySpill) {
  fresh_state fs;
  temp_dir dir;
  write_file("Particle_positions_restart.txt", restart_text);
  restart_run(3, 2);
  srand(77);
  lee_particle_positions(1);
  EXPECT_EQ(rand_state(), 77);  // the generator is not seeded
  const int32_t states[2][3] = {{1, 5, -1}, {0, 4, 1}};
  const double lon[2][3] = {{-3.5, -3.4, -3.3}, {-3.2, -3.1, -3.0}};
  for (int32_t s = 1; s <= 2; ++s)
    for (int32_t p = 1; p <= 3; ++p) {
      EXPECT_EQ(var_part.indp(p, s), states[s - 1][p - 1]);
      EXPECT_EQ(var_part.x_part(p, s), lon[s - 1][p - 1] + 360.0);
    }
  EXPECT_EQ(var_part.z_part(2, 1), 10.0 / factor);
  EXPECT_EQ(var_part.y_part(3, 1), 43.2);
  EXPECT_EQ(var_part.par_surf(1), 1);
  EXPECT_EQ(var_part.par_column(1), 1);
  EXPECT_EQ(var_part.par_floor(1), 1);
  EXPECT_EQ(var_part.par_beached(1), 0);
  EXPECT_EQ(var_part.par_surf(2), 1);
  EXPECT_EQ(var_part.par_beached(2), 1);  // state 4 is in no counter
  EXPECT_EQ(var_part.par_column(2), 0);
  EXPECT_NEAR(var_part.y_cg(2), (43.3 + 43.4 + 43.5) / 3, 1e-12);
  EXPECT_NEAR(var_part.z_cg(1), 10.0 / factor, 1e-15);
  EXPECT_EQ(var_cfg.spillstarttime(1), 1.5 * 3600);
  EXPECT_EQ(var_cfg.spillstarttime(2), 2.0 * 3600);
}

TEST(Restart, SecondSimulationAndDataFolder) {
  fresh_state fs;
  temp_dir dir;
  std::filesystem::create_directory("data");
  write_file("data/Particle_positions_restart.txt", restart_text);
  restart_run(3, 2);
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = fixlen("data/", 256);
  lee_particle_positions(2);
  EXPECT_EQ(var_cfg.spillstarttime(1), 1.5);  // not converted again
  EXPECT_EQ(var_part.indp(3, 2), 1);
}

TEST(Restart, BadStateCodesAndShortFiles) {
  struct row {
    const char* text;
    int64_t line;  // 0: any line
    const char* what;
  };
  const row rows[] = {
      {"h\n1 -3.5 43.0 0 1\n2 -3.4 43.1 0 4.7\n", 3, "4.7"},
      {"h\n1 -3.5 43.0 0 9\n", 2, "9"},
      {"h\n1 -3.5 43.0 0 -3\n", 2, "-3"},
      {"h\n1 -3.5 43.0 0 1\n", 0, "end of file"},
      {"", 0, ""},
  };
  for (const row& r : rows) {
    fresh_state fs;
    temp_dir dir;
    write_file("Particle_positions_restart.txt", r.text);
    restart_run(2, 1);
    try {
      lee_particle_positions(1);
      ADD_FAILURE() << "accepted: " << r.text;
    } catch (const input_error& e) {
      EXPECT_NE(e.file().find("Particle_positions_restart.txt"), std::string::npos);
      if (r.line) {
        EXPECT_EQ(e.line(), r.line) << r.text;
      }
      EXPECT_NE(std::string(e.what()).find(r.what), std::string::npos) << e.what();
    }
  }
  // A missing file is an error naming it.
  fresh_state fs;
  temp_dir dir;
  restart_run(2, 1);
  try {
    lee_particle_positions(1);
    FAIL() << "no error";
  } catch (const input_error& e) {
    EXPECT_NE(e.file().find("Particle_positions_restart.txt"), std::string::npos);
  }
}

}  // namespace
}  // namespace orvel
