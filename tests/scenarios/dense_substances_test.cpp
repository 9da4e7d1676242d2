// Substances as dense as the water or denser.  A chemical sinker (1450
// kg/m3) or a chemical of the water's density (1025 kg/m3), in 2-D and 3-D,
// spreading (Lehr) or not: the slick has no area and no thickness, and every
// value of every result file is a number.  An oil as dense as the water or
// denser in 2-D: refused at start-up, as in 3-D.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

// Every comma-separated field of every line but the header of the result
// files written (KEY_*.txt) parses as a finite number.
void expect_finite_results(const std::string& key, const std::string& what) {
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::current_path())) {
    const std::string name = e.path().filename().string();
    if (name.rfind(key + "_", 0) != 0 || e.path().extension() != ".txt") {
      continue;
    }
    ++files;
    std::istringstream in(read_file(name));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      for (const auto& f : split_fields(line)) {
        char* end = nullptr;
        const double x = std::strtod(f.c_str(), &end);
        ASSERT_TRUE(end != f.c_str() && std::isfinite(x)) << what << ": " << name << ": " << line;
      }
    }
  }
  EXPECT_GT(files, 1) << what;
}

TEST(ScenarioDenseSubstances, AChemicalAsDenseAsTheWaterOrDenserHasNoSlick) {
  struct row {
    bool three_d;
    std::string density;
    bool spreading;
  };
  std::vector<row> rows;
  for (bool d3 : {false, true}) {
    for (const char* rho : {"1450.0", "1025.0"}) {
      for (bool spreading : {false, true}) rows.push_back({d3, rho, spreading});
    }
  }
  for (const auto& r : rows) {
    const std::string what = std::string(r.three_d ? "3-D" : "2-D") + ", " + r.density + " kg/m3, spreading " +
                             (r.spreading ? "on" : "off");
    temp_dir dir;
    std::string key;
    if (!r.three_d) {
      // The chemical scenario: 10 t at the surface, every process on.
      key = "CHEM";
      copy_scenario("chemical");
      replace_text("CHEM.cfg", " 876.0 15.0 0.7 15.0 1780.0 25.0 12.7 25.0 ",
                   " " + r.density + " 15.0 0.7 15.0 100.0 25.0 0.1 25.0 ");
      replace_text("CHEM.cfg", "0 2 24\n1\n0\n0\n0 0 0 0\n",
                   std::string(r.spreading ? "1" : "0") + " 2 24\n1\n0\n1\n1 1 1 1\n");
      replace_line("CHEM.run", "0 0 1", "1 0 1");
    } else {
      // The 3-D scenario: 1 t at the surface, every process on.
      key = "HNS3";
      copy_scenario("hns3d");
      replace_text("HNS3.cfg", " -9.0 43.0 20.0 ", " -9.0 43.0 0.0 ");
      replace_text("HNS3.cfg", " 600.0 15.0 3000.0 15.0 ", " " + r.density + " 15.0 5.0 15.0 ");
      replace_text("HNS3.cfg", "3\n0 2 0\n0\n0\n0\n0 0 0 0\n",
                   std::string("3\n") + (r.spreading ? "1" : "0") + " 2 2\n1\n0\n1\n1 1 1 1\n");
    }
    run_ok(key);
    expect_finite_results(key, what);
    const auto rows_out = read_property_rows(key + "_properties_001.txt");
    ASSERT_FALSE(rows_out.empty()) << what;
    EXPECT_EQ(rows_out[0].at("area"), 0.0) << what;
    EXPECT_EQ(rows_out[0].at("thickness"), 0.0) << what;
    // A slick of no area: every particle at the release point.
    const auto parts = read_particles(key + "_particles_000000.txt");
    ASSERT_FALSE(parts.empty()) << what;
    for (const auto& p : parts) {
      EXPECT_NEAR(p.lon, -9.0, 1e-6) << what;
      EXPECT_NEAR(p.lat, 43.0, 1e-6) << what;
    }
  }
}

TEST(ScenarioDenseSubstances, AnOilAsDenseAsTheWaterOrDenserIsRefusedIn2d) {
  // The weathering scenario's crude made as dense as its water (1025 kg/m3)
  // or denser, spreading on or off; a crude just lighter than the water runs.
  struct row {
    std::string density;
    bool spreading;
    int status;
  };
  for (const row& r : {row{"1030.0", true, 2}, row{"1025.0", true, 2}, row{"1030.0", false, 2},
                       row{"1020.0", true, 0}}) {
    const std::string what = r.density + " kg/m3, spreading " + (r.spreading ? "on" : "off");
    temp_dir dir;
    copy_scenario("weathering");
    replace_text("WTHR.cfg", " 0 900.0 15.0 300.0 ", " 0 " + r.density + " 15.0 300.0 ");
    if (!r.spreading) replace_text("WTHR.cfg", "2\n1 1 3\n", "2\n0 1 3\n");
    const auto before = dir.files();
    const auto result = run_orvel(dir.path(), "WTHR");
    EXPECT_EQ(result.status, r.status) << what << ": " << result.err;
    if (r.status == 2) {
      const std::string value = r.density.substr(0, 4);
      EXPECT_EQ(result.err, "orvel: error: WTHR.cfg:23: spill 1: the product density " + value +
                                " kg/m3 is not below the water density 1025 kg/m3: the 2-D oil engine follows "
                                "floating oil only\n")
          << what;
      EXPECT_EQ(dir.files(), before) << what;
    } else {
      expect_finite_results("WTHR", what);
    }
  }
}

}  // namespace
}  // namespace orvel
