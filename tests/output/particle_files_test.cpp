// The particle files: which spills are written at an output time, the
// identifiers of instantaneous and continuous releases, the alternative
// layout without a model grid, and no file at all when writing fails.
#include <gtest/gtest.h>

#include <cmath>

#include <filesystem>
#include <string>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "output/particle_files.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;

const std::string header =
    "time (h), spill_id (-), subspill_id (-), longitude (\xBA),  latitude (\xBA), depth (m), status_index (-)\n";

// Three spills of two particles, starting at 0, 1 and 2 h; steps of 900 s.
void three_spills(int32_t release) {
  reset_state();
  var_run.deltat = 900.0f;
  var_run.particle_number = 2;
  var_run.simtype__operat_probabil = 1;
  var_mallas.zcells_number = 1;
  var_mallas.factor = 111317.359375;
  auto& c = var_cfg;
  c.spills_number = 3;
  c.spill__instant_contin = release;
  c.iternumber = release == 1 ? 3 : 1;
  c.spill_id.allocate(c.iternumber);
  for (int32_t k = 1; k <= c.iternumber; ++k) c.spill_id(k) = 6 + k;
  c.spillstarttime.allocate(3);
  for (int32_t s = 1; s <= 3; ++s) c.spillstarttime(s) = 3600.0 * (s - 1);
  auto& p = var_part;
  for (auto* a : {&p.x_part, &p.y_part, &p.z_part}) a->allocate(2, 3);
  p.indp.allocate(2, 3);
  for (int32_t s = 1; s <= 3; ++s) {
    for (int32_t j = 1; j <= 2; ++j) {
      p.x_part(j, s) = 351.0 + 0.25 * s;
      p.y_part(j, s) = 43.0 + 0.5 * j;
    }
  }
  p.z_part(2, 1) = 12.5 / var_mallas.factor;
  p.indp(1, 1) = 1;
  p.indp(2, 1) = 5;
  p.indp(1, 2) = 0;
  p.indp(2, 2) = -2;
  p.indp(1, 3) = 4;
  p.indp(2, 3) = 2;
}

TEST(ParticleFiles, InstantaneousSpillsFromTheirStartWhateverTheState) {
  temp_dir dir;
  three_spills(1);
  esc_particulas("TEST", 4, 1);  // 1 h: spill 2 starts exactly now and is written
  EXPECT_EQ(read_file("TEST_particles_000060.txt"),
            header +
                "    1.00,            7,               1,    -8.7500000,    43.5000000,    0.0000,                1\n"
                "    1.00,            7,               1,    -8.7500000,    44.0000000,   12.5000,                5\n"
                "    1.00,            8,               1,    -8.5000000,    43.5000000,    0.0000,                0\n"
                "    1.00,            8,               1,    -8.5000000,    44.0000000,    0.0000,               -2\n");
  esc_particulas("TEST", 12, 1);  // 3 h: all three
  const std::string all = read_file("TEST_particles_000180.txt");
  EXPECT_NE(all.find("            9,               1,    -8.2500000,    43.5000000,    0.0000,                4\n"),
            std::string::npos);
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 7);
}

TEST(ParticleFiles, ARefusedValueNamesItsParticleAndSpillOrSubSpill) {
  // The second particle of the third spill (or sub-spill) at 3 h has a
  // latitude that is not a number; a latitude too wide for its field is
  // written wider.
  for (const int32_t release : {1, 2}) {
    temp_dir dir;
    three_spills(release);
    var_part.y_part(2, 3) = std::nan("");
    try {
      esc_particulas("TEST", 12, 1);
      ADD_FAILURE() << "no stop";
    } catch (const run_stop& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("orvel: error: the result latitude (\xBA) = nan is not a finite number, for particle 2 of ") +
                    (release == 1 ? "spill 3" : "sub-spill 3") +
                    " at 3 h: the run stops and the result files of that time are not written");
    }
    EXPECT_TRUE(dir.files().empty());
  }
  temp_dir dir;
  three_spills(1);
  var_part.y_part(2, 3) = 123456.0;
  esc_particulas("TEST", 12, 1);
  EXPECT_NE(read_file("TEST_particles_000180.txt").find(",    -8.2500000,123456.0000000,    0.0000,"),
            std::string::npos);
}

TEST(ParticleFiles, BeforeTheFirstStartOnlyTheHeader) {
  temp_dir dir;
  three_spills(1);
  var_cfg.spillstarttime(1) = 1800.0;
  esc_particulas("TEST", 1, 1);  // 900 s
  EXPECT_EQ(read_file("TEST_particles_000015.txt"), header);
}

TEST(ParticleFiles, AContinuousReleaseCarriesItsLineIdentifierAndTheSubSpill) {
  temp_dir dir;
  three_spills(2);
  esc_particulas("TEST", 8, 1);
  const std::string f = read_file("TEST_particles_000120.txt");
  EXPECT_NE(f.find("    2.00,            7,               1,"), std::string::npos);
  EXPECT_NE(f.find("    2.00,            7,               2,"), std::string::npos);
  EXPECT_NE(f.find("    2.00,            7,               3,"), std::string::npos);
  EXPECT_EQ(std::count(f.begin(), f.end(), '\n'), 7);
}

TEST(ParticleFiles, AlternativeLayoutWithoutAModelGrid) {
  temp_dir dir;
  three_spills(1);
  var_mallas.zcells_number = 0;
  esc_particulas("TEST", 0, 1);
  EXPECT_EQ(read_file("TEST_particles_000000.txt"),
            "VERTIDO, LONGITUD,    LATITUD,   INDICE,  DIAMETRO PARTICULA\n"
            "      7,  -8.7500,  43.500000,        1,          0.00000000\n"
            "      7,  -8.7500,  44.000000,        5,          0.00000000\n");
  var_part.diam_part.allocate(2, 3);
  var_part.diam_part(2, 1) = 1.5e-4;
  esc_particulas("TEST", 0, 1);
  EXPECT_NE(read_file("TEST_particles_000000.txt").find(",        5,          0.00015000\n"), std::string::npos);
}

TEST(ParticleFiles, AFailedWriteLeavesNoFile) {
  temp_dir dir;
  three_spills(1);
  // The finished file cannot take its name: a folder of that name holds a file.
  std::filesystem::create_directory("TEST_particles_000180.txt");
  testing::write_file("TEST_particles_000180.txt/kept", "an older file\n");
  EXPECT_ANY_THROW(esc_particulas("TEST", 12, 1));
  EXPECT_EQ(read_file("TEST_particles_000180.txt/kept"), "an older file\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST_particles_000180.txt"});
}

#ifdef ORVEL_BOUNDS_CHECK
// A failure part way through the rows.  Only the checked build can produce
// one here: without index checks the short state array is undefined
// behaviour, not an error.
TEST(ParticleFiles, AFailureBetweenRowsLeavesNoFile) {
  temp_dir dir;
  three_spills(1);
  testing::write_file("TEST_particles_000180.txt", "an older file\n");
  var_part.indp.deallocate();
  var_part.indp.allocate(2, 2);  // the third spill has no states: the write fails there
  EXPECT_ANY_THROW(esc_particulas("TEST", 12, 1));
  // The older file of that name is as it was, and no partial file is left.
  EXPECT_EQ(read_file("TEST_particles_000180.txt"), "an older file\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"TEST_particles_000180.txt"});
}
#endif

}  // namespace
}  // namespace orvel
