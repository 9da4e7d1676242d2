// Oil that starts later in the run, and oil weathered with long steps.
//
// Under uniform, steady forcing a spill's weathering depends on its age
// only: a spill started at T prints, row for row, what the same spill
// started at 0 prints T hours earlier.  And the evaporated, water and
// dispersed shares of one slick hardly depend on the model step.
//
// The scenario (tests/scenarios/weathering/): 1000 t of crude on a still sea
// (no current), twenty particles, Fay spreading for at most 3 h, every oil
// process on, wind of 8 m/s and waves of 1.5 m as hourly uniform series.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

const std::string spill_line_start = "1 0.0 1000000.0 ";

// The weathering scenario on a still sea for `hours` hours, its spill
// starting at `start` hours.
void still_sea(int hours, int start) {
  copy_scenario("weathering");
  replace_text("WTHR.cfg", "* a day\n24\n", "* hours\n" + std::to_string(hours) + "\n");
  replace_text("WTHR.cfg", spill_line_start, "1 " + std::to_string(start) + ".0 1000000.0 ");
  const std::string n = std::to_string(hours + 1);
  replace_text("WTHR.cfg", "\n1 25 0\n", "\n1 " + n + " 0\n");
  replace_text("WTHR.cfg", "2 0\n1\n1 25\n0\n0 0 0 0 0 0\n2 0\n1\n1 25\n",
               "2 0\n1\n1 " + n + "\n0\n0 0 0 0 0 0\n2 0\n1\n1 " + n + "\n");
  write_file("lstcurr.pre", lines(hours + 1, "0.0 270.0"));
  write_file("lstwinds.pre", lines(hours + 1, "8.0 270.0"));
  write_file("lstwaves.pre", lines(hours + 1, "1.5 270.0 6.0"));
}

// The printed rows of a property file by their time field, each row's text
// after its time.
std::map<std::string, std::string> rows_by_time(const std::string& file) {
  std::istringstream in(read_file(file));
  std::string line;
  std::getline(in, line);
  std::map<std::string, std::string> rows;
  while (std::getline(in, line)) {
    const auto comma = line.find(',');
    std::string time = line.substr(0, comma);
    time.erase(0, time.find_first_not_of(' '));
    rows[time] = line.substr(comma);
  }
  return rows;
}

std::string hours_text(int h) { return std::to_string(h) + ".00"; }

// The row text without the centre-of-mass fields (second and third).
std::string without_centre(const std::string& row) {
  std::vector<std::string> f = split_fields(row);
  std::string s;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (i != 1 && i != 2) s += f[i] + ",";
  }
  return s;
}

TEST(ScenarioLateStart, ASpillStartedLateWeathersAsTheSameSpillStartedAtZero) {
  // A spill started at 6 h, after the stop hour of 3 h, spreads for its own
  // first three hours and evaporates, takes up water and disperses from its
  // start: every printed field (centre of mass included) of its row at
  // 6 + h hours is that of the spill started at 0 at h hours.  (Counted from
  // the run's start, the stop hour left the late spill at its initial area
  // of 95,030 m2 with nothing evaporated or dispersed.)
  struct algorithm {
    const char* what;
    const char* record;
  } algorithms[] = {{"Fay", "1 1 3"}, {"Lehr", "1 2 3"}};
  for (const auto& a : algorithms) {
    std::map<std::string, std::string> at_zero, at_six;
    double evaporated = 0.0;
    {
      temp_dir dir;
      still_sea(24, 0);
      replace_line("WTHR.cfg", "1 1 3", a.record);
      run_ok("WTHR");
      at_zero = rows_by_time("WTHR_properties_001.txt");
      evaporated = read_property_rows("WTHR_properties_001.txt").back().at("evaporated (%)");
    }
    {
      temp_dir dir;
      still_sea(30, 6);
      replace_line("WTHR.cfg", "1 1 3", a.record);
      run_ok("WTHR");
      at_six = rows_by_time("WTHR_properties_001.txt");
    }
    ASSERT_EQ(at_zero.size(), 25u) << a.what;
    for (int h = 0; h <= 24; ++h) {
      ASSERT_EQ(at_six.count(hours_text(h + 6)), 1u) << a.what << " " << h;
      EXPECT_EQ(at_six[hours_text(h + 6)], at_zero[hours_text(h)]) << a.what << " at age " << h << " h";
    }
    // The slick did weather within the day.
    EXPECT_GT(evaporated, 15.0) << a.what;
  }
}

TEST(ScenarioLateStart, APulseOfAContinuousReleaseWeathersAsTheFirstPulseShifted) {
  // Three pulses an hour apart, stop hour 1: the third pulse, started at
  // 2 h, prints at 2 + h hours what the first prints at h hours (the
  // centres of mass aside: the pulses' random walks draw in turn).
  temp_dir dir;
  still_sea(24, 0);
  replace_line("WTHR.cfg", "1 1 3", "1 1 1");
  replace_text("WTHR.cfg", "\n1\n1\n0 0\n" + spill_line_start, "\n2\n1\n3 3600\n" + spill_line_start);
  run_ok("WTHR");
  auto first = rows_by_time("WTHR_properties_subspill_001.txt");
  auto third = rows_by_time("WTHR_properties_subspill_003.txt");
  for (int h = 0; h <= 22; ++h) {
    ASSERT_EQ(third.count(hours_text(h + 2)), 1u) << h;
    EXPECT_EQ(without_centre(third[hours_text(h + 2)]), without_centre(first[hours_text(h)])) << "age " << h << " h";
  }
}

TEST(ScenarioLateStart, ASpillStartingBetweenTwoStepsTakesUpWaterFromItsOwnStart) {
  // Started at 1.05 h with steps of 600 s: its first step ends at 1.1667 h,
  // 420 s after its start.  The water content follows
  // Y = Ymax (1 - exp(-k t / Ymax)), k = 1.085e-6 (1 + U)^2 per second with
  // U = 8 m/s and Ymax = 0.7, from the spill's start: t = 0.95 h at 2 h
  // (24.44 %) and 1.95 h at 3 h (41.00 %).  Counted from the start of its
  // first step, it would read 25.45 % and 41.65 %.
  temp_dir dir;
  still_sea(6, 1);
  replace_text("WTHR.cfg", "1 1.0 1000000.0 ", "1 1.05 1000000.0 ");
  run_ok("WTHR");
  const auto rows = read_property_rows("WTHR_properties_001.txt");
  const double k = 1.085e-6 * 81.0;
  int checked = 0;
  for (const auto& r : rows) {
    const double t = r.at("time");
    if (t != 2.0 && t != 3.0) continue;
    const double water = 70.0 * (1.0 - std::exp(-k * (t - 1.05) * 3600.0 / 0.7));
    EXPECT_NEAR(r.at("emulsified (%)"), water, 0.011) << t << " h";
    ++checked;
  }
  EXPECT_EQ(checked, 2);
}

TEST(ScenarioLateStart, TheWholeReleaseReadsTheWaterContentOfItsFloatingEmulsion) {
  // Three pulses an hour apart on a still sea: each pulse's water content
  // follows its own age, Ymax (1 - exp(-k age / Ymax)) with k =
  // 1.085e-6 (1 + 8)^2 per second and Ymax = 0.7; the whole release reads
  // their mean weighted by the oil each has afloat (not the plain mean of
  // the three).
  temp_dir dir;
  still_sea(6, 0);
  replace_text("WTHR.cfg", "\n1\n1\n0 0\n" + spill_line_start, "\n2\n1\n3 3600\n" + spill_line_start);
  run_ok("WTHR");
  const auto whole = read_property_rows("WTHR_properties_001.txt");
  std::vector<std::vector<property_row>> pulses;
  for (const char* f : {"WTHR_properties_subspill_001.txt", "WTHR_properties_subspill_002.txt",
                        "WTHR_properties_subspill_003.txt"}) {
    pulses.push_back(read_property_rows(f));
  }
  const double k = 1.085e-6 * 81.0;
  int checked = 0;
  for (const auto& w : whole) {
    const double t = w.at("time");
    if (t < 3.0) continue;
    double water = 0.0, afloat = 0.0;
    for (int p = 0; p < 3; ++p) {
      const property_row* row = nullptr;
      for (const auto& r : pulses[static_cast<std::size_t>(p)]) {
        if (r.at("time") == t) row = &r;
      }
      ASSERT_NE(row, nullptr) << t;
      const double age = (t - p) * 3600.0;
      EXPECT_NEAR(row->at("emulsified (%)"), 70.0 * (1.0 - std::exp(-k * age / 0.7)), 0.011) << t << " h, pulse " << p + 1;
      water += row->at("emulsified (%)") * row->at("surface (kg)");
      afloat += row->at("surface (kg)");
    }
    ASSERT_GT(afloat, 0.0);
    EXPECT_NEAR(w.at("emulsified (%)"), water / afloat, 0.011) << t << " h";
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

}  // namespace
}  // namespace orvel
