// The property files: the row stride, which records are printed and from
// when, the column sets of a floating object and of oil, the reference
// masses of instantaneous and continuous releases, and the all-sub-spill
// file of a continuous release.
#include <gtest/gtest.h>

#include <filesystem>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "output/property_files.hpp"
#include "output/result_layout.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;
using strings = std::vector<std::string>;

// A series of `records` records for `spills` spills, every centre at 9 W,
// 43 N, every mass 0.
void series(int32_t kind, int32_t release, int32_t spills, float deltat, int32_t props, int32_t records) {
  reset_state();
  var_run.deltat = deltat;
  var_run.deltatoutput_properties = props;
  auto& c = var_cfg;
  c.obj__floating_fuel_hns = kind;
  c.spill__instant_contin = release;
  c.spills_number = spills;
  c.spillstarttime.allocate(spills);
  c.masa0.allocate(spills);
  c.masa0.fill(1000.0);
  auto& m = var4;
  for (auto* a : {&var_part.xxc, &var_part.yyc, &m.per_evpc, &m.aguac, &m.densc, &m.viscc, &m.masaevpc,
                  &m.mass_surf_c, &m.mass_beachedc, &m.mass_columnc, &m.mass_floorc, &m.mass_disp_cumul_c,
                  &m.massprodemuls_surf_c, &m.massprodemuls_beach_c, &m.mass_radarc, &m.mass_vol_cumul_c,
                  &m.mass_diss_cumul_c, &m.mass_sed_cumul_c, &m.mass_degr_cumul_c}) {
    a->allocate(spills, records);
  }
  for (auto* a : {&var_spill.areaoila, &var_spill.thickoilt, &var_spill.areahnsa, &var_spill.thickhnst}) {
    a->allocate(spills, records);
  }
  var_part.xxc.fill(351.0);
  var_part.yyc.fill(43.0);
}

strings file_lines(const std::string& name) {
  std::istringstream in(read_file(name));
  strings r;
  for (std::string l; std::getline(in, l);) r.push_back(l);
  return r;
}

// The time column of every row.
strings times(const std::string& name) {
  strings r;
  const auto l = file_lines(name);
  for (std::size_t i = 1; i < l.size(); ++i) r.push_back(l[i].substr(0, 8));
  return r;
}

strings hours(int from, int to, int by = 1) {
  strings r;
  char b[16];
  for (int h = from; h <= to; h += by) {
    std::snprintf(b, sizeof b, "%8.2f", static_cast<double>(h));
    r.push_back(b);
  }
  return r;
}

// The fields of row `row` (1 = the first after the header).
strings fields(const std::string& name, std::size_t row) {
  strings r;
  std::istringstream in(file_lines(name).at(row));
  for (std::string f; std::getline(in, f, ',');) r.push_back(f);
  return r;
}

TEST(PropertyFiles, RowStride) {
  struct stride_case {
    float deltat;
    int32_t props;
    int64_t stride;
  };
  const stride_case cases[] = {{60, 3600, 60},  {1800, 3600, 2},  {3600, 3600, 1},  {900, 1000, 1},
                               {7200, 3600, 1}, {7200, 7200, 2},  {5400, 10800, 2}, {5400, 3600, 0},
                               {900, 600, 0},   {10800, 3600, 1}, {600, 1800, 3}};
  for (const auto& c : cases) {
    reset_state();
    var_run.deltat = c.deltat;
    var_run.deltatoutput_properties = c.props;
    EXPECT_EQ(property_row_stride(), c.stride) << c.deltat << ", " << c.props;
  }
}

TEST(PropertyFiles, RowsFromTheStartTime) {
  // Steps of 60 s, rows hourly, 24 h (record 1441).
  struct start_case {
    double start_h;
    strings rows;
  };
  strings from_half = {"    1.50"};
  for (const auto& h : hours(2, 24)) from_half.push_back(h);
  strings from_two = {"    2.00"};
  for (const auto& h : hours(3, 24)) from_two.push_back(h);
  const start_case cases[] = {{0.0, hours(0, 24)}, {1.5, from_half}, {2.0, from_two}};
  for (const auto& c : cases) {
    temp_dir dir;
    series(1, 1, 1, 60.0f, 3600, 1441);
    var_cfg.spillstarttime(1) = c.start_h * 3600.0;
    esc_propiedades_fuel("TEST", 1441, 1441);
    EXPECT_EQ(times("TEST_properties_001.txt"), c.rows) << c.start_h;
  }
  // 30 records with a stride of 60: only record 1, which the start-time row
  // already shows.
  temp_dir dir;
  series(1, 1, 1, 60.0f, 3600, 30);
  esc_propiedades_fuel("TEST", 30, 30);
  EXPECT_EQ(times("TEST_properties_001.txt"), strings{"    0.00"});
  // Steps of two hours with hourly rows: a row every step.
  series(1, 1, 1, 7200.0f, 3600, 7);
  esc_propiedades_fuel("TEST", 7, 7);
  EXPECT_EQ(times("TEST_properties_001.txt"), hours(0, 12, 2));
}

TEST(PropertyFiles, FloatingObjectColumns) {
  temp_dir dir;
  series(1, 1, 7, 1800.0f, 3600, 3);
  var_part.xxc(7, 1) = 351.25;
  var_part.yyc(7, 3) = 43.125;
  var_spill.areaoila(7, 1) = 1234.5f;
  var_spill.areaoila(7, 3) = 9876543.0f;  // the widest area F11.3 holds
  esc_propiedades_fuel("TEST", 3, 3);
  EXPECT_EQ(read_file("TEST_properties_007.txt"),
            "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA),  area (m2)\n"
            "    0.00,             -8.7500000,             43.0000000,   1234.500\n"
            "    1.00,             -9.0000000,             43.1250000,9876543.000\n");
  EXPECT_EQ(dir.files().size(), 7u);
  // One more digit takes one more character: the row grows, the run goes on.
  var_spill.areaoila(7, 3) = 98765432.0f;
  esc_propiedades_fuel("TEST", 3, 3);
  EXPECT_EQ(read_file("TEST_properties_007.txt"),
            "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA),  area (m2)\n"
            "    0.00,             -8.7500000,             43.0000000,   1234.500\n"
            "    1.00,             -9.0000000,             43.1250000,98765432.000\n");
}

TEST(PropertyFiles, OilColumnsAndTheBalance) {
  // 600 kg afloat, 100 kg beached, 30 % evaporated (500 kg in the
  // evaporated column, which is not in the balance), m0 1000 kg.
  temp_dir dir;
  series(2, 1, 1, 3600.0f, 3600, 2);
  auto& m = var4;
  m.mass_surf_c(1, 2) = 600.0;
  m.mass_beachedc(1, 2) = 100.0;
  m.per_evpc(1, 2) = 0.3;
  m.masaevpc(1, 2) = 500.0;
  m.aguac(1, 2) = 0.25;
  m.densc(1, 2) = 950.25;
  m.viscc(1, 2) = 1234.56;
  var_spill.thickoilt(1, 2) = 0.0015f;
  var_spill.areaoila(1, 2) = 2000.0f;
  esc_propiedades_fuel("TEST", 2, 2);
  const auto l = file_lines("TEST_properties_001.txt");
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0],
            "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA),  area (m2), thickness (m), density "
            "(kg/m3), kinematic_viscosity (cst),    surface (kg),    beached (kg), evaporated (kg),  dispersed (kg),"
            "     column (kg),      floor (kg), emulsified_water (kg), emulsified_beached (kg),    outside (kg), "
            "balance (%), surface (%), beached (%), evaporated (%), dispersed (%), column (%), floor (%), emulsified "
            "(%), outside (%)");
  EXPECT_EQ(l[2],
            "    1.00,             -9.0000000,             43.0000000,   2000.000,      0.001500,           950.2,"
            "                    1234.6,        600.0000,        100.0000,        500.0000,          0.0000,"
            "          0.0000,          0.0000,                0.0000,                  0.0000,          0.0000,"
            "      100.00,       60.00,       10.00,          30.00,          0.00,       0.00,      0.00,"
            "          25.00,        0.00");
}

TEST(PropertyFiles, TheBalanceCountsEveryMassColumn) {
  // m0 1000 kg; each mass compartment a distinct non-zero mass, 30 %
  // evaporated: the balance is the sum of all of them over m0.  Oil: 100 afloat
  // + 50 beached + 20 dispersed + 10 column + 5 floor + 2 outside = 187 kg,
  // 18.7 % + 30 % = 48.70 %; an HNS adds 4 volatilised, 3 dissolved,
  // 1 sedimented and 0.5 degraded: 195.5 kg, 49.55 %.  The emulsified and
  // evaporated masses are not compartments of their own.
  struct balance_case {
    int32_t kind;
    int32_t release;        // 1 instantaneous, 2 continuous (one pulse)
    const char* file;
    std::size_t column;     // index of "balance (%)"
    const char* expected;
  };
  const balance_case cases[] = {
      {2, 1, "TEST_properties_001.txt", 16, "       48.70"},
      {2, 2, "TEST_properties_001.txt", 12, "       48.70"},
      {2, 2, "TEST_properties_subspill_001.txt", 16, "       48.70"},
      {3, 1, "TEST_properties_001.txt", 18, "       49.55"},
      {3, 2, "TEST_properties_001.txt", 14, "       49.55"},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    series(c.kind, c.release, 1, 3600.0f, 3600, 2);
    auto& m = var4;
    m.mass_surf_c(1, 2) = 100.0;
    m.mass_beachedc(1, 2) = 50.0;
    m.mass_disp_cumul_c(1, 2) = 20.0;
    m.mass_columnc(1, 2) = 10.0;
    m.mass_floorc(1, 2) = 5.0;
    m.mass_radarc(1, 2) = 2.0;
    m.mass_vol_cumul_c(1, 2) = 4.0;
    m.mass_diss_cumul_c(1, 2) = 3.0;
    m.mass_sed_cumul_c(1, 2) = 1.0;
    m.mass_degr_cumul_c(1, 2) = 0.5;
    m.per_evpc(1, 2) = 0.3;
    m.masaevpc(1, 2) = 700.0;
    m.massprodemuls_surf_c(1, 2) = 60.0;
    m.massprodemuls_beach_c(1, 2) = 70.0;
    if (c.kind == 2) {
      for (auto* a : {&m.mass_vol_cumul_c, &m.mass_diss_cumul_c, &m.mass_sed_cumul_c, &m.mass_degr_cumul_c}) {
        (*a)(1, 2) = 0.0;  // no HNS compartments in an oil run
      }
    }
    esc_propiedades_fuel("TEST", 2, 2);
    EXPECT_EQ(fields(c.file, 2).at(c.column), c.expected) << c.kind << ", " << c.release << ", " << c.file;
  }
}

// The trimmed labels of a property file's header and the trimmed fields of
// row `row`, paired; the row must have a field for every label.
std::map<std::string, std::string> labelled_row(const std::string& name, std::size_t row) {
  std::map<std::string, std::string> r;
  auto trim = [](std::string t) {
    t.erase(0, t.find_first_not_of(' '));
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
  };
  const strings labels = fields(name, 0), values = fields(name, row);
  EXPECT_EQ(values.size(), labels.size()) << name;
  for (std::size_t i = 0; i < std::min(labels.size(), values.size()); ++i) r[trim(labels[i])] = trim(values[i]);
  return r;
}

// Every share in its own column: with each compartment a distinct mass of a
// 1000 kg spill, each percentage is its mass over 1000 kg (the evaporated
// and emulsified shares their fractions), worked by hand.  The emulsified
// mass ashore has a mass column but no share column of its own.
TEST(PropertyFiles, EachShareInItsOwnColumn) {
  const std::map<std::string, std::string> oil = {
      {"surface (%)", "10.00"}, {"beached (%)", "5.00"}, {"evaporated (%)", "30.00"}, {"dispersed (%)", "2.00"},
      {"column (%)", "1.00"},   {"floor (%)", "0.50"},   {"emulsified (%)", "25.00"}, {"outside (%)", "0.20"},
      {"emulsified_beached (kg)", "70.0000"}, {"outside (kg)", "2.0000"}};
  const std::map<std::string, std::string> hns = {
      {"surface (%)", "10.00"},    {"beached (%)", "5.00"},   {"evaporated (%)", "30.00"}, {"dispersed (%)", "2.00"},
      {"volatilized (%)", "0.40"}, {"column (%)", "1.00"},    {"dissolved (%)", "0.30"},   {"sedimented (%)", "0.10"},
      {"floor (%)", "0.50"},       {"degraded (%)", "0.05"},  {"outside (%)", "0.20"}};
  const struct {
    int32_t kind;
    int32_t release;
    const char* file;
  } cases[] = {{2, 1, "TEST_properties_001.txt"}, {2, 2, "TEST_properties_subspill_001.txt"},
               {2, 2, "TEST_properties_001.txt"}, {3, 1, "TEST_properties_001.txt"},
               {3, 2, "TEST_properties_001.txt"}};
  for (const auto& c : cases) {
    temp_dir dir;
    series(c.kind, c.release, 1, 3600.0f, 3600, 2);
    auto& m = var4;
    m.mass_surf_c(1, 2) = 100.0;
    m.mass_beachedc(1, 2) = 50.0;
    m.mass_disp_cumul_c(1, 2) = 20.0;
    m.mass_columnc(1, 2) = 10.0;
    m.mass_floorc(1, 2) = 5.0;
    m.mass_radarc(1, 2) = 2.0;
    m.per_evpc(1, 2) = 0.3;
    m.masaevpc(1, 2) = 300.0;
    if (c.kind == 2) {
      m.aguac(1, 2) = 0.25;
      m.massprodemuls_surf_c(1, 2) = 60.0;
      m.massprodemuls_beach_c(1, 2) = 70.0;
    } else {
      m.mass_vol_cumul_c(1, 2) = 4.0;
      m.mass_diss_cumul_c(1, 2) = 3.0;
      m.mass_sed_cumul_c(1, 2) = 1.0;
      m.mass_degr_cumul_c(1, 2) = 0.5;
    }
    esc_propiedades_fuel("TEST", 2, 2);
    const auto row = labelled_row(c.file, 2);
    for (const auto& [label, value] : c.kind == 2 ? oil : hns) {
      if (row.count(label) == 0 && label.find("(kg)") != std::string::npos) continue;  // a whole-release file
      EXPECT_EQ(row.count(label) ? row.at(label) : "(none)", value) << c.file << ", " << label;
    }
  }
}

TEST(PropertyFiles, SubSpillFilesDivideByThePulseMass) {
  // Four pulses of a 1000 kg release: every sub-spill file divides by 250.
  temp_dir dir;
  series(2, 2, 4, 3600.0f, 3600, 2);
  for (int32_t s = 1; s <= 4; ++s) var4.mass_surf_c(s, 2) = 250.0;
  esc_propiedades_fuel("TEST", 2, 2);
  EXPECT_EQ(dir.files(), (strings{"TEST_properties_001.txt", "TEST_properties_subspill_001.txt",
                                  "TEST_properties_subspill_002.txt", "TEST_properties_subspill_003.txt",
                                  "TEST_properties_subspill_004.txt"}));
  EXPECT_EQ(fields("TEST_properties_subspill_003.txt", 2).at(17), "      100.00");
}

// A pulse's mass is the release's mass over the pulses, rounded to single
// precision once divided: 1000.1 kg in 3 pulses gives 333.3666... kg,
// 333.366668701171875 in single precision; 166.70000014063515 kg afloat is
// 50.0049992 % of it, written 50.00.  (The release's mass rounded first,
// 1000.0999755859375 kg, over 3 is 333.36665852864583 kg, and the same mass
// 50.0050008 %, written 50.01.)
TEST(PropertyFiles, APulseMassIsRoundedOnceDivided) {
  temp_dir dir;
  series(2, 2, 3, 3600.0f, 3600, 2);
  var_cfg.masa0.fill(1000.1);
  for (int32_t s = 1; s <= 3; ++s) var4.mass_surf_c(s, 2) = 166.70000014063515;
  esc_propiedades_fuel("TEST", 2, 2);
  for (const char* f : {"TEST_properties_subspill_001.txt", "TEST_properties_subspill_003.txt"}) {
    EXPECT_EQ(labelled_row(f, 2).at("surface (%)"), "50.00") << f;
  }
}

TEST(PropertyFiles, AReleaseLongerThanTheRunSharesItsMassOverAllItsPulses) {
  // A 1000 kg release of eight hourly pulses of which the run sizes four:
  // a pulse is 125 kg.  Each pulse 125 kg afloat and 20 % evaporated: every
  // sub-spill file 100 % afloat, 120 % in balance; the whole release file 4
  // x 12.5 = 50 % afloat, 4 x 2.5 = 10 % evaporated, balance 60 %.
  temp_dir dir;
  series(2, 2, 4, 3600.0f, 3600, 2);
  var_cfg.spillduration = 8.0;
  var_cfg.delta_vertidocontinuo = 3600;
  for (int32_t s = 1; s <= 4; ++s) {
    for (int32_t r = 1; r <= 2; ++r) {
      var4.mass_surf_c(s, r) = 125.0;
      var4.per_evpc(s, r) = 0.2;
    }
  }
  esc_propiedades_fuel("TEST", 2, 2);
  for (const char* f : {"TEST_properties_subspill_001.txt", "TEST_properties_subspill_004.txt"}) {
    EXPECT_EQ(fields(f, 2).at(17), "      100.00") << f;
    EXPECT_EQ(fields(f, 2).at(16), "      120.00") << f;
  }
  const auto all = fields("TEST_properties_001.txt", 2);
  EXPECT_EQ(all.at(13), "       50.00");
  EXPECT_EQ(all.at(15), "          10.00");
  EXPECT_EQ(all.at(12), "       60.00");
}

TEST(PropertyFiles, APulseThatDoesNotStartWithinTheRunHasNoRow) {
  // A 2 h run (hourly steps) of pulses starting at 1, 2 and 3 h: the first
  // two have their first row at their start (the second at the run's last
  // time), the third a header line alone; the whole release has rows from
  // 1 h.
  temp_dir dir;
  series(1, 2, 3, 3600.0f, 3600, 3);
  for (int32_t s = 1; s <= 3; ++s) var_cfg.spillstarttime(s) = 3600.0 * s;
  esc_propiedades_fuel("TEST", 3, 3);
  EXPECT_EQ(times("TEST_properties_subspill_001.txt"), (strings{"    1.00", "    2.00"}));
  EXPECT_EQ(times("TEST_properties_subspill_002.txt"), strings{"    2.00"});
  EXPECT_EQ(file_lines("TEST_properties_subspill_003.txt").size(), 1u);
  EXPECT_EQ(file_lines("TEST_properties_subspill_003.txt").at(0).substr(0, 9), "time (h),");
  EXPECT_EQ(times("TEST_properties_001.txt"), (strings{"    1.00", "    2.00"}));
}

TEST(PropertyFiles, RowsWrittenAsTheRecordsComeMatchRowsWrittenAtTheEnd) {
  // The same series written record by record and all at the end: the same
  // files, byte for byte.
  temp_dir dir;
  series(2, 2, 3, 1800.0f, 3600, 9);
  for (int32_t s = 1; s <= 3; ++s) {
    var_cfg.spillstarttime(s) = 1800.0 * s;
    for (int32_t r = 1; r <= 9; ++r) {
      var4.mass_surf_c(s, r) = 100.0 * s + r;
      var_spill.areaoila(s, r) = 1.0e7f * static_cast<float>(r);  // 10 to 90 km2
    }
  }
  esc_propiedades_fuel("TEST", 9, 9);
  strings names = {"TEST_properties_001.txt", "TEST_properties_subspill_001.txt", "TEST_properties_subspill_002.txt",
                   "TEST_properties_subspill_003.txt"};
  strings at_end;
  for (const auto& n : names) at_end.push_back(read_file(n));
  for (const auto& n : names) std::filesystem::remove(n);
  property_rows_writer w;
  for (int32_t r = 1; r <= 9; ++r) w.rows("TEST", r);
  EXPECT_TRUE(dir.files().size() <= names.size());
  w.finish("TEST", 9);
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(read_file(names[i]), at_end[i]) << names[i];
  // An area of 90 km2 takes a field of 12 characters.
  EXPECT_EQ(fields("TEST_properties_subspill_001.txt", 5).at(3), "90000000.000");
}

// A release of 1000 pulses over 120 hourly records: some 121,000 rows, more
// than a run holds in memory at once, so that the rows reach the files in
// several pieces.  Every file has the header and the 121 rows from 0 h to
// 120 h, each once and in order.
TEST(PropertyFiles, ManyRowsReachTheirFilesOnceEach) {
  temp_dir dir;
  const int32_t pulses = 1000, records = 121;
  series(2, 2, pulses, 3600.0f, 3600, records);
  for (int32_t s = 1; s <= pulses; ++s) {
    for (int32_t r = 1; r <= records; ++r) var4.mass_surf_c(s, r) = 0.5;
  }
  property_rows_writer w;
  for (int32_t r = 1; r <= records; ++r) w.rows("TEST", r);
  w.finish("TEST", records);
  const strings all_hours = hours(0, 120);
  EXPECT_EQ(times("TEST_properties_001.txt"), all_hours);
  for (int32_t s = 1; s <= pulses; ++s) {
    const std::string name = subspill_property_file_name("TEST", s);
    if (s == 1 || s == pulses / 2 || s == pulses) {
      EXPECT_EQ(times(name), all_hours) << name;
    } else {
      EXPECT_EQ(file_lines(name).size(), all_hours.size() + 1) << name;
    }
  }
}

TEST(PropertyFiles, AValueThatIsNotANumberStopsTheRunWithTheEarlierRowsOfEveryFile) {
  // Two spills, hourly rows over 3 h; spill 2's density at 2 h is not a
  // number: both files keep the rows of 0 and 1 h.  The refusal names the
  // spill, or the sub-spill of a continuous release.
  struct stop_case {
    int32_t release;
    strings files;
    const char* where;
  };
  const stop_case cases[] = {
      {1, {"TEST_properties_001.txt", "TEST_properties_002.txt"}, "spill 2"},
      {2, {"TEST_properties_subspill_001.txt", "TEST_properties_subspill_002.txt"}, "sub-spill 2"},
  };
  const std::string refused = "orvel: error: the result density (kg/m3) = nan is not a finite number, for ";
  for (const auto& c : cases) {
    temp_dir dir;
    series(2, c.release, 2, 3600.0f, 3600, 4);
    var4.densc(2, 3) = std::nan("");
    property_rows_writer w;
    try {
      for (int32_t r = 1; r <= 4; ++r) w.rows("TEST", r);
      ADD_FAILURE() << "no stop";
    } catch (const run_stop& e) {
      EXPECT_EQ(e.status(), 1);
      EXPECT_EQ(std::string(e.what()), refused + c.where +
                                           " at 2 h: the run stops and the result files of that time are not "
                                           "written; the property files keep their rows up to 1 h");
    }
    for (const auto& f : c.files) EXPECT_EQ(times(f), (strings{"    0.00", "    1.00"})) << f;
    if (c.release == 2) {
      EXPECT_EQ(times("TEST_properties_001.txt"), (strings{"    0.00", "    1.00"}));
    }
    EXPECT_EQ(dir.files().size(), c.files.size() + (c.release == 2 ? 1u : 0u));
    EXPECT_EQ(w.end(true), "");
  }
  // Refused in the first row: spill 1's first row goes too, and no file is
  // written.
  temp_dir dir;
  series(2, 1, 2, 3600.0f, 3600, 4);
  var4.densc(2, 1) = std::nan("");
  property_rows_writer w;
  try {
    w.rows("TEST", 1);
    ADD_FAILURE() << "no stop";
  } catch (const run_stop& e) {
    EXPECT_EQ(std::string(e.what()), refused +
                                         "spill 2 at 0 h: the run stops and the result files of that time are not "
                                         "written; no property row was due before it, so no property file is "
                                         "written");
  }
  EXPECT_TRUE(dir.files().empty());
}

TEST(PropertyFiles, TwoWritersInOneProcessKeepTheirOwnRows) {
  // Two runs' writers side by side: the second one's start does not end or
  // take over the first one's files.  Hourly rows of one spill over 3 h.
  temp_dir dir;
  series(2, 1, 1, 3600.0f, 3600, 4);
  property_rows_writer a;
  property_rows_writer b;
  a.rows("AAAA", 2);
  b.rows("BBBB", 1);
  a.rows("AAAA", 3);
  b.rows("BBBB", 2);
  a.finish("AAAA", 4);
  EXPECT_EQ(times("AAAA_properties_001.txt"), hours(0, 3));
  EXPECT_EQ(times("BBBB_properties_001.txt"), hours(0, 1));
  EXPECT_EQ(b.end(true), "; the property files keep their rows up to 1 h");
  EXPECT_EQ(times("BBBB_properties_001.txt"), hours(0, 1));
}

TEST(PropertyFiles, ARecordThatCannotBeWrittenWholeIsTakenBackFromEveryFile) {
  // A continuous release of two pulses (two sub-spill files and the file of
  // the whole release), hourly rows; the first pulse's file is written
  // first, and the pulse starts at 2 h, after the second.  A file-size limit
  // that the second pulse's file reaches with its row of 2 h, once the first
  // pulse's file has taken its first row: the error names the second, and
  // every file ends as it was after the rows of 1 h, byte for byte, so that
  // all end at the same time; the stop keeps them.
  temp_dir dir;
  series(2, 2, 2, 3600.0f, 3600, 4);
  var_cfg.spillstarttime(1) = 7200.0;
  const strings names = {"TEST_properties_subspill_001.txt", "TEST_properties_subspill_002.txt",
                         "TEST_properties_001.txt"};
  property_rows_writer w;
  w.rows("TEST", 2);
  strings before;
  std::size_t largest = 0;
  std::string largest_name;
  for (const auto& n : names) {
    before.push_back(read_file(n));
    if (before.back().size() > largest) {
      largest = before.back().size();
      largest_name = n;
    }
  }
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = largest + 20;
  setrlimit(RLIMIT_FSIZE, &small);
  std::string error;
  try {
    w.rows("TEST", 3);
  } catch (const environment_error& e) {
    error = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, handler);
  EXPECT_EQ(largest_name, names[1]);
  EXPECT_EQ(error, largest_name + ":0: cannot write the file: File too large");
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(read_file(names[i]), before[i]) << names[i];
  EXPECT_EQ(w.end(true), "; the property files keep their rows up to 1 h");
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(read_file(names[i]), before[i]) << names[i];
}

// A run stopped (by a value of another result file) after its start rows
// but before the next row of the stride: the start rows stand and the files
// keep them.  Rows every 2 h of 1 h steps; spill 2 (or pulse 2) starts at
// 1 h, off the stride, so its first row is at 1 h; the stop comes at 1 h.
TEST(PropertyFiles, AStopBeforeTheFirstStrideRowKeepsTheStartRows) {
  const struct {
    int32_t release;
    double start2_s;
    strings files;
    strings rows2;
    const char* words;
  } cases[] = {
      {1, 0.0, {"TEST_properties_001.txt", "TEST_properties_002.txt"}, {"    0.00"},
       "; the property files keep their rows up to 0 h"},
      {1, 3600.0, {"TEST_properties_001.txt", "TEST_properties_002.txt"}, {"    1.00"},
       "; the property files keep their rows up to 1 h"},
      {2, 3600.0, {"TEST_properties_subspill_001.txt", "TEST_properties_subspill_002.txt"}, {"    1.00"},
       "; the property files keep their rows up to 1 h"},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    series(2, c.release, 2, 3600.0f, 7200, 4);
    var_cfg.spillstarttime(2) = c.start2_s;
    property_rows_writer w;
    w.rows("TEST", 1);
    w.rows("TEST", 2);
    EXPECT_EQ(w.end(true), c.words) << c.files[1];
    EXPECT_EQ(times(c.files[0]), strings{"    0.00"}) << c.files[0];
    EXPECT_EQ(times(c.files[1]), c.rows2) << c.files[1];
  }
}

TEST(PropertyFiles, WholeReleaseSumsTheStartedPulses) {
  // Pulses at 0, 1, 2 and 3 h of a 1000 kg release, all afloat; steps of
  // 60 s, rows hourly to 4 h: "surface (%)" 25, 50, 75, 100, 100, the
  // fourth pulse counting at exactly 3.00.
  temp_dir dir;
  series(2, 2, 4, 60.0f, 3600, 241);
  for (int32_t s = 1; s <= 4; ++s) {
    var_cfg.spillstarttime(s) = 3600.0 * (s - 1);
    for (int32_t r = 1; r <= 241; ++r) var4.mass_surf_c(s, r) = 250.0;
  }
  esc_propiedades_fuel("TEST", 241, 241);
  const std::string all = "TEST_properties_001.txt";
  EXPECT_EQ(times(all), hours(0, 4));
  const strings surface = {"       25.00", "       50.00", "       75.00", "      100.00", "      100.00"};
  for (std::size_t r = 1; r <= 5; ++r) {
    EXPECT_EQ(fields(all, r).at(13), surface[r - 1]) << r;
    char kg[32];
    std::snprintf(kg, sizeof kg, "%16.4f", 250.0 * static_cast<double>(std::min<std::size_t>(r, 4)));
    EXPECT_EQ(fields(all, r).at(3), kg) << r;
  }
  EXPECT_EQ(file_lines(all)[0].substr(0, 57), "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA),");

  // The same release from 1.5 h: no rows at 0 and 1 h.
  for (int32_t s = 1; s <= 4; ++s) var_cfg.spillstarttime(s) = 3600.0 * (s - 1) + 5400.0;
  esc_propiedades_fuel("TEST", 241, 241);
  EXPECT_EQ(times(all), hours(2, 4));
  EXPECT_EQ(fields(all, 1).at(13), "       25.00");
}

TEST(PropertyFiles, WholeReleaseMeansOfCentresAndWaterFraction) {
  // The centre is the mean of the pulses'; the water content that of the
  // release's floating emulsion: 20 % water in the 300 kg afloat of the
  // first pulse, 40 % in the 100 kg of the second, (0.2 x 300 + 0.4 x 100)
  // / 400 = 25 % (the plain mean would read 30 %).  At record 2 nothing
  // floats: 0.
  temp_dir dir;
  series(2, 2, 2, 3600.0f, 3600, 2);
  var_part.xxc(1, 1) = 351.0;
  var_part.xxc(2, 1) = 352.0;
  var4.aguac(1, 1) = 0.2;
  var4.aguac(2, 1) = 0.4;
  var4.mass_surf_c(1, 1) = 300.0;
  var4.mass_surf_c(2, 1) = 100.0;
  var4.aguac(1, 2) = 0.7;
  var4.aguac(2, 2) = 0.7;
  esc_propiedades_fuel("TEST", 2, 2);
  const auto f = fields("TEST_properties_001.txt", 1);
  EXPECT_EQ(f.at(1), "             -8.5000000");
  EXPECT_EQ(f.at(19), "          25.00");
  EXPECT_EQ(fields("TEST_properties_001.txt", 2).at(19), "           0.00");
}

// The evaporated fraction of a pulse is a share of the pulse's mass (the
// release over the pulse count): four pulses of a 1000 kg release, each
// with 30 % evaporated, have evaporated 4 x 0.3 x 250 kg = 30 % of the
// release; two started pulses 15 %.
TEST(PropertyFiles, WholeReleaseEvaporatedShareOfFourPulses) {
  temp_dir dir;
  series(2, 2, 4, 3600.0f, 3600, 2);
  for (int32_t s = 1; s <= 4; ++s) {
    var_cfg.spillstarttime(s) = s <= 2 ? 0.0 : 3600.0;
    var4.per_evpc(s, 1) = 0.3;
    var4.per_evpc(s, 2) = 0.3;
  }
  esc_propiedades_fuel("TEST", 2, 2);
  const std::string all = "TEST_properties_001.txt";
  EXPECT_EQ(fields(all, 1).at(15), "          15.00");
  EXPECT_EQ(fields(all, 2).at(15), "          30.00");
  // The balance counts the evaporated mass the same way.
  EXPECT_EQ(fields(all, 2).at(12), "       30.00");
}

TEST(PropertyFiles, WholeReleaseOfAFloatingObject) {
  // Pulses at 0 and 2 h; steps of 300 s, rows hourly: the row time of
  // record 25 is 1.9999999 h in single precision (printed 2.00), so the
  // second pulse is not yet counted there.
  temp_dir dir;
  series(1, 2, 2, 300.0f, 3600, 37);
  var_cfg.spillstarttime(2) = 7200.0;
  for (int32_t r = 1; r <= 37; ++r) var_part.xxc(2, r) = 352.0;
  esc_propiedades_fuel("TEST", 37, 37);
  EXPECT_EQ(read_file("TEST_properties_001.txt"),
            "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA)\n"
            "    0.00,             -9.0000000,             43.0000000\n"
            "    1.00,             -9.0000000,             43.0000000\n"
            "    2.00,             -9.0000000,             43.0000000\n"
            "    3.00,             -8.5000000,             43.0000000\n");
}

TEST(PropertyFiles, ContinuousReleaseWithoutPulses) {
  temp_dir dir;
  series(1, 2, 0, 3600.0f, 3600, 2);
  esc_propiedades_fuel("TEST", 2, 2);
  EXPECT_EQ(dir.files(), strings{"TEST_properties_001.txt"});
  EXPECT_EQ(read_file("TEST_properties_001.txt"),
            "time (h), centre_of_mass_lon (\xBA), centre_of_mass_lat (\xBA)\n");
}

TEST(PropertyFiles, AnotherKindGivesEmptyFiles) {
  temp_dir dir;
  series(0, 1, 2, 3600.0f, 3600, 2);
  esc_propiedades_fuel("TEST", 2, 2);
  EXPECT_EQ(read_file("TEST_properties_001.txt"), "");
  EXPECT_EQ(read_file("TEST_properties_002.txt"), "");
}

TEST(PropertyFiles, AStrideOfZeroStopsTheRun) {
  temp_dir dir;
  series(1, 1, 1, 5400.0f, 3600, 2);
  EXPECT_THROW(esc_propiedades_fuel("TEST", 2, 2), run_stop);
  EXPECT_TRUE(dir.files().empty());
}

// The concentration-factor files of an HNS: upper-case labels in widths of
// their own, the compartments in percent of the reference mass and in
// kilograms, on the rows of the property files.
TEST(ConcentrationFactorFiles, AHandFilledSeries) {
  // m0 1000 kg.  Time 0: everything afloat.  One hour: 401.23 afloat,
  // 19.8 % evaporated (198 kg), 100.41 in the column, 50.06 dispersed,
  // 79.92 dissolved, 30.33 sedimented, 60.17 volatilised, 20.01 on the
  // floor, 39.8 beached, 10.02 degraded and 10.05 outside: 802 kg, 80.2 %,
  // with the evaporated share 100.00 %.
  temp_dir dir;
  series(3, 1, 1, 3600.0f, 3600, 2);
  auto& m = var4;
  m.densc(1, 1) = 1000.0;
  m.viscc(1, 1) = 2.0;
  m.mass_surf_c(1, 1) = 1000.0;
  m.densc(1, 2) = 1012.34;
  m.viscc(1, 2) = 3.21;
  m.mass_surf_c(1, 2) = 401.23;
  m.per_evpc(1, 2) = 0.198;
  m.masaevpc(1, 2) = 198.0;
  m.mass_columnc(1, 2) = 100.41;
  m.mass_disp_cumul_c(1, 2) = 50.06;
  m.mass_diss_cumul_c(1, 2) = 79.92;
  m.mass_sed_cumul_c(1, 2) = 30.33;
  m.mass_vol_cumul_c(1, 2) = 60.17;
  m.mass_floorc(1, 2) = 20.01;
  m.mass_beachedc(1, 2) = 39.8;
  m.mass_degr_cumul_c(1, 2) = 10.02;
  m.mass_radarc(1, 2) = 10.05;
  esc_propiedades_hns("TEST", 2);
  EXPECT_EQ(dir.files(), strings{"TEST_CF_001.txt"});
  EXPECT_EQ(read_file("TEST_CF_001.txt"),
            " TIME(h),  DENS(kg/m3),KIN VISC(cst),  HNS SURF(%),HNS EVAP(%),HNS COLUMN(%),HNS DISPERSED(%),"
            "HNS DISSOL(%), HNS SEDIM(%),HNS VOLAT(%),HNS FLOOR(%),HNS BEACHED(%), HNS DEGRAD(%),OIL OUTSIDE(%),"
            " BALANCE,  HNS SURF(kg),HNS EVAP(kg),HNS COLUMN(kg),HNS DISPERSED(kg),HNS DISSOL(kg),HNS SEDIM(kg),"
            "HNS VOLAT(kg),HNS FLOOR(kg),HNS BEACHED(kg), HNS DEGRAD(kg),   OIL OUTSIDE(kg)\n"
            // time, density, viscosity
            "     0.00,      1000.0,       2.0,"
            // percentages: surface, evaporated, column, dispersed, dissolved,
            // sedimented, volatilised, floor, beached, degraded, outside
            "         100.0,        0.0,        0.0,           0.0,            0.0,           0.0,          0.0,"
            "          0.0,          0.0,          0.0,          0.0,"
            // balance
            "     100.00,"
            // kilograms: surface, evaporated, column, dispersed, dissolved,
            // sedimented, volatilised, floor, beached, degraded, outside
            "       1000.00,         0.00,          0.00,          0.00,          0.00,          0.00,"
            "          0.00,          0.00,          0.00,          0.00,          0.0000\n"
            "     1.00,      1012.3,       3.2,"
            "          40.1,       19.8,       10.0,           5.0,            8.0,           3.0,          6.0,"
            "          2.0,          4.0,          1.0,          1.0,"
            "     100.00,"
            "        401.23,       198.00,        100.41,         50.06,         79.92,         30.33,"
            "         60.17,         20.01,         39.80,         10.02,         10.0500\n");
}

TEST(ConcentrationFactorFiles, RowsOnTheStrideFromTheStartTime) {
  // Steps of 600 s, rows hourly: a stride of 6 records; 145 records give the
  // stride records 1, 7, ..., 145 (0 to 24 h).  Record r holds r kg afloat,
  // so each row shows which record it prints.
  struct start_case {
    double start_h;
    strings rows;     // time column
    strings records;  // the record printed on each row
  };
  strings all_records, late_records = {"1"}, from_half = {"     2.50"}, every_hour;
  for (int h = 0; h <= 24; ++h) {
    char b[16];
    std::snprintf(b, sizeof b, "%9.2f", static_cast<double>(h));
    every_hour.push_back(b);
    all_records.push_back(std::to_string(1 + 6 * h));
    if (h >= 3) {
      from_half.push_back(b);
      late_records.push_back(std::to_string(1 + 6 * h));
    }
  }
  const start_case cases[] = {{0.0, every_hour, all_records}, {2.5, from_half, late_records}};
  for (const auto& c : cases) {
    temp_dir dir;
    series(3, 1, 1, 600.0f, 3600, 145);
    var_cfg.spillstarttime(1) = c.start_h * 3600.0;
    for (int32_t r = 1; r <= 145; ++r) var4.mass_surf_c(1, r) = r;
    esc_propiedades_hns("TEST", 145);
    const auto l = file_lines("TEST_CF_001.txt");
    strings rows, records;
    for (std::size_t i = 1; i < l.size(); ++i) {
      rows.push_back(l[i].substr(0, 9));
      const auto f = fields("TEST_CF_001.txt", i);
      records.push_back(std::to_string(std::lround(std::strtod(f.at(15).c_str(), nullptr))));
    }
    EXPECT_EQ(rows, c.rows) << c.start_h;
    EXPECT_EQ(records, c.records) << c.start_h;
  }
}

TEST(ConcentrationFactorFiles, ReadOnlyTheRecordsTheWindowHolds) {
  // Steps of 600 s and a row every step.  A run of 40 records has slid the
  // series' window of 32 once: it holds records 33 to 64, of which 33 to 40
  // are made.  Record r holds r kg afloat.  The file has the rows of
  // records 33 to 40 only, at (r - 1) x 600 s: 5.33 to 6.50 h; records 1 to
  // 32 are gone and none is read.  A run that fits the window keeps every
  // row from 0 h.
  struct window_case {
    int32_t first, step;
    strings rows;
  };
  const window_case cases[] = {
      {33, 40, {"     5.33", "     5.50", "     5.67", "     5.83", "     6.00", "     6.17", "     6.33", "     6.50"}},
      {1, 3, {"     0.00", "     0.17", "     0.33"}},
  };
  for (const auto& c : cases) {
    temp_dir dir;
    series(3, 1, 1, 600.0f, 600, 32);
    auto& m = var4;
    for (auto* a : {&var_part.xxc, &var_part.yyc, &m.per_evpc, &m.aguac, &m.densc, &m.viscc, &m.masaevpc,
                    &m.mass_surf_c, &m.mass_beachedc, &m.mass_columnc, &m.mass_floorc, &m.mass_disp_cumul_c,
                    &m.massprodemuls_surf_c, &m.massprodemuls_beach_c, &m.mass_radarc, &m.mass_vol_cumul_c,
                    &m.mass_diss_cumul_c, &m.mass_sed_cumul_c, &m.mass_degr_cumul_c}) {
      a->rebase(2, c.first);
    }
    for (int32_t r = c.first; r <= c.step; ++r) m.mass_surf_c(1, r) = r;
    esc_propiedades_hns("TEST", c.step);
    const auto l = file_lines("TEST_CF_001.txt");
    strings rows;
    for (std::size_t i = 1; i < l.size(); ++i) {
      rows.push_back(l[i].substr(0, 9));
      const auto f = fields("TEST_CF_001.txt", i);
      const int32_t record = c.first + static_cast<int32_t>(i) - 1;
      EXPECT_EQ(std::lround(std::strtod(f.at(15).c_str(), nullptr)), record) << c.first << ", row " << i;
    }
    EXPECT_EQ(rows, c.rows) << c.first;
  }
}

TEST(ConcentrationFactorFiles, SubSpillsReferToOnePulse) {
  // Four pulses of a 1000 kg release, each 250 kg afloat: 100.0 % afloat in
  // every sub-spill file; no file for the whole release.
  temp_dir dir;
  series(3, 2, 4, 3600.0f, 3600, 4);
  for (int32_t s = 1; s <= 4; ++s) {
    var_cfg.spillstarttime(s) = 3600.0 * (s - 1);
    for (int32_t r = 1; r <= 4; ++r) var4.mass_surf_c(s, r) = 250.0;
  }
  esc_propiedades_hns("TEST", 4);
  EXPECT_EQ(dir.files(), (strings{"TEST_CF_subspill_001.txt", "TEST_CF_subspill_002.txt",
                                  "TEST_CF_subspill_003.txt", "TEST_CF_subspill_004.txt"}));
  for (const char* f : {"TEST_CF_subspill_001.txt", "TEST_CF_subspill_004.txt"}) {
    EXPECT_EQ(fields(f, 1).at(3), "         100.0") << f;
    EXPECT_EQ(fields(f, 1).at(14), "     100.00") << f;
  }
}

TEST(ConcentrationFactorFiles, BalanceAsInThePropertyFile) {
  // The same HNS series through both writers: per row the balance of the
  // concentration-factor file is the property file's.  Records of open and
  // closed budgets worked by hand: 100 %; 2 x 33.33333 % + 33.33334 %;
  // 193.8 kg and 10 %: 29.38 %; 0.005 kg and 99.995 %: 99.9955 %, 100.00;
  // 135.206 kg and 40 %: 53.52 %.
  struct record_case {
    double surf, column, diss, vol, degr, outside, evp;
  };
  const record_case cases[] = {{1000.0, 0, 0, 0, 0, 0, 0},         {333.3333, 333.3333, 0, 0, 0, 0, 0.3333334},
                               {100.0, 50.0, 25.0, 12.5, 6.3, 0, 0.1}, {0.004, 0.001, 0, 0, 0, 0, 0.99995},
                               {123.456, 0.5, 7.0, 0.25, 1.0, 3.0, 0.4}};
  const int32_t n = static_cast<int32_t>(std::size(cases));
  temp_dir dir;
  series(3, 1, 1, 3600.0f, 3600, n);
  for (int32_t r = 1; r <= n; ++r) {
    const auto& c = cases[r - 1];
    var4.mass_surf_c(1, r) = c.surf;
    var4.mass_columnc(1, r) = c.column;
    var4.mass_diss_cumul_c(1, r) = c.diss;
    var4.mass_vol_cumul_c(1, r) = c.vol;
    var4.mass_degr_cumul_c(1, r) = c.degr;
    var4.mass_radarc(1, r) = c.outside;
    var4.per_evpc(1, r) = c.evp;
  }
  esc_propiedades_fuel("TEST", n, n);
  esc_propiedades_hns("TEST", n);
  auto trim = [](const std::string& f) { return f.substr(f.find_first_not_of(' ')); };
  // The start-time row (record 1), then records 2 .. n.
  const strings expected = {"100.00", "100.00", "29.38", "100.00", "53.52"};
  for (std::size_t row = 1; row <= expected.size(); ++row) {
    EXPECT_EQ(trim(fields("TEST_CF_001.txt", row).at(14)), expected[row - 1]) << row;
    EXPECT_EQ(trim(fields("TEST_properties_001.txt", row).at(18)), expected[row - 1]) << row;
  }
}

TEST(ConcentrationFactorFiles, StrideAndReferenceMassOutOfRange) {
  // A stride of 0 stops the run before a file is made.
  {
    temp_dir dir;
    series(3, 1, 1, 5400.0f, 3600, 2);
    EXPECT_THROW(esc_propiedades_hns("TEST", 2), run_stop);
    EXPECT_TRUE(dir.files().empty());
  }
  // A spill of no mass: its percentages would not be numbers (0 / 0) or be
  // infinite.  The run stops on the first of them and writes no file.
  temp_dir dir;
  series(3, 1, 1, 3600.0f, 3600, 2);
  var_cfg.masa0(1) = 0.0;
  var4.mass_surf_c(1, 2) = 5.0;
  try {
    esc_propiedades_hns("TEST", 2);
    ADD_FAILURE() << "no stop";
  } catch (const run_stop& e) {
    EXPECT_EQ(e.status(), 1);
    EXPECT_NE(std::string(e.what()).find("is not a finite number, for spill 1 at 0 h"), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace orvel
