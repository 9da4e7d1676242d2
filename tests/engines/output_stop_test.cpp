// A run that the model stops part way: the property rows written before the
// stop are kept, whole, in every spill's file, and the stop line says so;
// the files of the output time that stopped are taken back, those of
// earlier times stay.
//
// On the small run of frame_harness.hpp (900 s steps, hourly outputs), a
// floating object of two spills, with the real property writer.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/result_file.hpp"
#include "output/property_files.hpp"
#include "output/result_layout.hpp"
#include "tests/engines/frame_harness.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using strings = std::vector<std::string>;
using testing::recording_calls;
using testing::small_run;
using testing::temp_dir;
using testing::test_engine;

constexpr result_column latitude{"latitude (\xBA)", 13, 'F', 12, 7};

// The property calls of the model's own writer; a particle file written at
// each particle output (its iteration in the name), and at iteration
// `stop_at` (-1: never) an end of the run after the particle file of that
// time.
class stopping_calls : public recording_calls {
 public:
  int32_t stop_at = -1;
  // How the run ends at iteration stop_at: a value the results refuse, a
  // forcing file refused part way, a stop of the model with status 2, or a
  // disk that takes no more.
  enum class end { value, refused_file, status_2, disk } how = end::value;
  void esc_particulas(const std::string& clave, int32_t iteration, int32_t sim) override {
    recording_calls::esc_particulas(clave, iteration, sim);
    result_file f(clave + "_particles_" + std::to_string(iteration) + ".txt");
    f.line("rows");
    f.commit();
    if (iteration == stop_at && how == end::refused_file) throw input_error("currents_07.txt", 12, "a bad line");
    if (iteration == stop_at && how == end::status_2) {
      throw run_stop("orvel: error: stopped", run_stop::stream::err, 2);
    }
    if (iteration == stop_at && how == end::disk) {
      throw environment_error("TEST_grid_001_000180.txt", "cannot write the file: No space left on device");
    }
    if (iteration == stop_at) {
      stop_for_value(result_value_error("latitude (\xBA)", std::nan(""), latitude), "particle 3 of spill 2",
                     static_cast<float>(iteration) * var_run.deltat / 3600.0f);
    }
  }
  void esc_propiedades_fuel(const std::string& clave, int32_t step, int32_t nsteps) override {
    recording_calls::esc_propiedades_fuel(clave, step, nsteps);
    rows.finish(clave, step);
  }
  void property_rows(const std::string& clave, int32_t record) override { rows.rows(clave, record); }
  std::string end_property_rows(bool keep) override { return rows.end(keep); }

  property_rows_writer rows;
};

void two_floating_objects() {
  small_run(2);
  var_cfg.obj__floating_fuel_hns = 1;
  var_run.outputpropierties__y_n = 1;
  var_cfg.spillstarttime(2) = 1800.0;  // half an hour in
  var_cfg.masa0.allocate(2);
}

// The time column of each row of a property file.
strings row_times(const std::string& name) {
  std::istringstream in(testing::read_file(name));
  strings t;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) t.push_back(line.substr(0, line.find(',')));
  return t;
}

std::string stop_of(stopping_calls& rec) {
  test_engine e(rec);
  try {
    e.run();
  } catch (const run_stop& s) {
    EXPECT_EQ(s.status(), 1);
    return s.what();
  }
  ADD_FAILURE() << "no stop";
  return "";
}

TEST(OutputStop, EverySpillKeepsItsRowsUpToTheLastRowTimeBeforeTheStop) {
  // The particle output of 3 h (iteration 12) stops the run: rows at 0, 1
  // and 2 h stay in both files (the second spill from its start at 0.5 h),
  // the particle files of 0 to 2 h stay, that of 3 h goes.
  temp_dir dir;
  two_floating_objects();
  stopping_calls rec;
  rec.stop_at = 12;
  EXPECT_EQ(stop_of(rec),
            "orvel: error: the result latitude (\xBA) = nan is not a finite number, for particle 3 of spill 2 at 3 h: "
            "the run stops and the result files of that time are not written; the property files keep their rows up "
            "to 2 h");
  EXPECT_EQ(row_times("TEST_properties_001.txt"), (strings{"    0.00", "    1.00", "    2.00"}));
  EXPECT_EQ(row_times("TEST_properties_002.txt"), (strings{"    0.50", "    1.00", "    2.00"}));
  EXPECT_EQ(dir.files(), (strings{"TEST_particles_0.txt", "TEST_particles_4.txt", "TEST_particles_8.txt",
                                  "TEST_properties_001.txt", "TEST_properties_002.txt"}));
}

TEST(OutputStop, AStopAtTimeZeroKeepsNothing) {
  // The time-0 output stops the run: its particle file is taken back, and
  // no property row was due before it.
  temp_dir dir;
  two_floating_objects();
  stopping_calls rec;
  rec.stop_at = 0;
  EXPECT_EQ(stop_of(rec),
            "orvel: error: the result latitude (\xBA) = nan is not a finite number, for particle 3 of spill 2 at 0 h: "
            "the run stops and the result files of that time are not written");
  EXPECT_TRUE(dir.files().empty()) << dir.files().front();
}

// A run that writes no property files writes none when it stops, and its
// stop line says nothing of them.
TEST(OutputStop, AStopWritesNoPropertyFileNobodyAskedFor) {
  temp_dir dir;
  two_floating_objects();
  var_run.outputpropierties__y_n = 0;
  stopping_calls rec;
  rec.stop_at = 12;
  EXPECT_EQ(stop_of(rec),
            "orvel: error: the result latitude (\xBA) = nan is not a finite number, for particle 3 of spill 2 at 3 h: "
            "the run stops and the result files of that time are not written");
  EXPECT_EQ(dir.files(), (strings{"TEST_particles_0.txt", "TEST_particles_4.txt", "TEST_particles_8.txt"}));
}

// A run ended by anything but a stop of its own results (an input file
// refused part way, a stop of status 2) takes its property rows back: no
// property file is left, whole or partial.
TEST(OutputStop, OtherEndsTakeThePropertyRowsBack) {
  for (const auto how : {stopping_calls::end::refused_file, stopping_calls::end::status_2}) {
    temp_dir dir;
    two_floating_objects();
    stopping_calls rec;
    rec.stop_at = 12;
    rec.how = how;
    test_engine e(rec);
    EXPECT_ANY_THROW(e.run());
    for (const auto& f : dir.files()) EXPECT_EQ(f.find("properties"), std::string::npos) << f;
  }
}

TEST(OutputStop, AFullDiskKeepsTheRowsARefusedInputTakesThemBack) {
  // The output of 3 h fails: a disk that takes no more keeps the property
  // rows up to 2 h (and says so); a refused input (a forcing file read mid-run)
  // takes the property files back.  The files of 3 h go in both cases.
  for (const auto how : {stopping_calls::end::disk, stopping_calls::end::refused_file}) {
    temp_dir dir;
    two_floating_objects();
    stopping_calls rec;
    rec.stop_at = 12;
    rec.how = how;
    test_engine e(rec);
    try {
      e.run();
      ADD_FAILURE() << "no stop";
    } catch (const environment_error& s) {
      EXPECT_TRUE(how == stopping_calls::end::disk);
      EXPECT_EQ(std::string(s.what()),
                "TEST_grid_001_000180.txt:0: cannot write the file: No space left on device; the property files keep "
                "their rows up to 2 h");
    } catch (const input_error& s) {
      EXPECT_TRUE(how == stopping_calls::end::refused_file);
      EXPECT_EQ(std::string(s.what()), "currents_07.txt:12: a bad line");
    }
    const strings particles = {"TEST_particles_0.txt", "TEST_particles_4.txt", "TEST_particles_8.txt"};
    if (how == stopping_calls::end::disk) {
      EXPECT_EQ(row_times("TEST_properties_001.txt"), (strings{"    0.00", "    1.00", "    2.00"}));
      EXPECT_EQ(row_times("TEST_properties_002.txt"), (strings{"    0.50", "    1.00", "    2.00"}));
      EXPECT_EQ(dir.files(), (strings{particles[0], particles[1], particles[2], "TEST_properties_001.txt",
                                      "TEST_properties_002.txt"}));
    } else {
      EXPECT_EQ(dir.files(), particles);
    }
  }
}

TEST(OutputStop, TheRowsStandUnderTheirNamesAsEachRecordIsMade) {
  // A reader that follows the run sees every row of the records made, and
  // only whole rows: after the record of 2 h (step 9) both files end with
  // the row of 2 h and a line end.
  temp_dir dir;
  two_floating_objects();
  class watching_calls : public stopping_calls {
   public:
    strings seen;
    void property_rows(const std::string& clave, int32_t record) override {
      stopping_calls::property_rows(clave, record);
      if (record != 9) return;
      for (const char* f : {"TEST_properties_001.txt", "TEST_properties_002.txt"}) {
        const std::string text = testing::read_file(f);
        EXPECT_EQ(text.back(), '\n') << f;
        seen.push_back(row_times(f).back());
      }
    }
  } rec;
  test_engine e(rec);
  e.run();
  EXPECT_EQ(rec.seen, (strings{"    2.00", "    2.00"}));
}

TEST(OutputStop, ARunToTheEndWritesEveryRow) {
  temp_dir dir;
  two_floating_objects();
  stopping_calls rec;
  test_engine e(rec);
  e.run();
  strings hours;
  for (int h = 0; h <= 10; ++h) hours.push_back((h < 10 ? "    " : "   ") + std::to_string(h) + ".00");
  EXPECT_EQ(row_times("TEST_properties_001.txt"), hours);
  hours[0] = "    0.50";
  EXPECT_EQ(row_times("TEST_properties_002.txt"), hours);
  EXPECT_EQ(dir.files().size(), 11u + 2u);
}

}  // namespace
}  // namespace orvel
