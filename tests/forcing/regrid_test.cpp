#include "forcing/regrid.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/list_input.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/idbvip.hpp"
#include "forcing/lists.hpp"
#include "forcing/regrid_detail.hpp"
#include "forcing/wind.hpp"
#include "tests/forcing/interp_support.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using regrid_detail::forcing_kind;
using testing::read_file;
using testing::temp_dir;
using testing::write_file;

const fs::path fixtures = fs::path(ORVEL_FIXTURES) / "regrid";

// Model grid of nx by ny nodes from (lon0, lat0) with spacings dx, dy, in
// the model node order (latitude fastest), longitudes held + 360.
void model_grid(int32_t nx, int32_t ny, double lon0, double lat0, double dx, double dy) {
  var_mallas.xcells_number = nx;
  var_mallas.ycells_number = ny;
  var_mallas.xbat.allocate(nx * ny);
  var_mallas.ybat.allocate(nx * ny);
  for (int32_t i = 1; i <= nx; ++i) {
    for (int32_t j = 1; j <= ny; ++j) {
      var_mallas.xbat((i - 1) * ny + j) = lon0 + 360.0 + (i - 1) * dx;
      var_mallas.ybat((i - 1) * ny + j) = lat0 + (j - 1) * dy;
    }
  }
}

// Scattered nodes: longitude, latitude and the values of f(lon, lat), one
// line per node.
template <typename F>
std::string node_file(const std::vector<std::pair<double, double>>& nodes, F f) {
  std::string s;
  for (const auto& [lon, lat] : nodes) {
    s += fmt_f(lon, 12, 6) + " " + fmt_f(lat, 12, 6);
    for (double v : f(lon, lat)) s += " " + fmt_f(v, 14, 6);
    s += "\n";
  }
  return s;
}

// n random nodes over [lon0, lon0 + w] x [lat0, lat0 + h], to 1e-4 degrees.
std::vector<std::pair<double, double>> random_nodes(uint32_t seed, int n, double lon0, double lat0,
                                                    double w, double h) {
  std::mt19937 g(seed);
  std::vector<std::pair<double, double>> r;
  for (int k = 0; k < n; ++k) {
    const double a = std::round((g() % 1000000) / 1e6 * w * 1e4) / 1e4;
    const double b = std::round((g() % 1000000) / 1e6 * h * 1e4) / 1e4;
    r.emplace_back(lon0 + a, lat0 + b);
  }
  return r;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> r;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) r.push_back(l);
  return r;
}

// ---------------------------------------------------------------------------

TEST(Regrid, LinearScatteredWindOntoThreeByTwoGridMatchesHandWrittenFiles) {
  reset_state();
  temp_dir dir;
  for (const char* f : {"lstwinds.pre", "a.txt", "b.txt"}) {
    fs::copy_file(fixtures / "linear_wind" / f, dir.path() / f);
  }
  model_grid(3, 2, -3.75, 43.5, 0.25, 0.25);
  int32_t nodes = 6;

  ::testing::internal::CaptureStdout();
  interpola_malla(2, nodes, 2);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " INTERPOLANDO DATOS DE VIENTO\n");

  EXPECT_EQ(nodes, 6);
  for (const char* f : {"INT_a.txt", "INT_b.txt", "lstwinds.txt"}) {
    SCOPED_TRACE(f);
    EXPECT_EQ(read_file(f), read_file(fixtures / "linear_wind" / (std::string(f) + ".expected")));
  }
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"INT_a.txt", "INT_b.txt", "a.txt", "b.txt",
                                                   "lstwinds.pre", "lstwinds.txt"}));

  // Read back as a scattered wind file of the model grid's nodes.
  list_reader back("INT_a.txt");
  for (int32_t k = 1; k <= nodes; ++k) {
    float lon = 0, lat = 0, u = 0, v = 0;
    ASSERT_TRUE(back.read(lon, lat, u, v));
    EXPECT_EQ(lon + 360.0f, static_cast<float>(var_mallas.xbat(k)));
    EXPECT_EQ(lat, static_cast<float>(var_mallas.ybat(k)));
    const double x = lon + 4.0, y = lat - 43.0;
    EXPECT_EQ(u, static_cast<float>(2.0 + 2.0 * x + y));
    EXPECT_EQ(v, static_cast<float>(-1.0 + 0.5 * x - 2.0 * y));
  }
  EXPECT_TRUE(back.at_end());
}

// The regridded wind is what the wind reader then takes: its ".txt" list
// names the INT_ files and their nodes are the model grid's.
TEST(Regrid, RegriddedWindIsReadBackByTheWindReader) {
  reset_state();
  temp_dir dir;
  for (const char* f : {"lstwinds.pre", "a.txt", "b.txt"}) {
    fs::copy_file(fixtures / "linear_wind" / f, dir.path() / f);
  }
  model_grid(3, 2, -3.75, 43.5, 0.25, 0.25);
  auto& c = var_cfg;
  c.windtype__file_constant = 1;
  c.windgridformat__xyz_grid = 1;
  var_mallas.windgrid_regular__y_n = 0;
  c.windfilesorlines_number = 2;
  c.xyzwindnodes_number = 6;
  ::testing::internal::CaptureStdout();
  interpola_malla(2, c.xyzwindnodes_number, c.windfilesorlines_number);
  ::testing::internal::GetCapturedStdout();

  // The arrays the start-up allocates for the wind.
  const int32_t n = c.xyzwindnodes_number;
  auto& w = var_currwindwave;
  for (auto* a : {&w.windx, &w.windy, &w.windx0, &w.windy0, &w.xv, &w.yv}) a->allocate(n);
  var1.fichviento.allocate(c.windfilesorlines_number);
  var1.fichviento.fill(std::string(256, ' '));
  int32_t flag = 0;
  lee_listafich(3, 1, flag);
  for (int32_t record = 1; record <= 2; ++record) {
    lee_viento(record);
    for (int32_t k = 1; k <= n; ++k) {
      const double x = var_mallas.xbat(k) - 360.0 + 4.0, y = var_mallas.ybat(k) - 43.0;
      const double u = 2.0 + 2.0 * x + y, v = -1.0 + 0.5 * x - 2.0 * y;
      EXPECT_NEAR(w.xv(k), var_mallas.xbat(k), 1e-4) << k;
      EXPECT_NEAR(w.yv(k), var_mallas.ybat(k), 1e-4) << k;
      // b.txt holds v, u: its regridded file swaps the two columns.
      EXPECT_NEAR(w.windx(k), record == 1 ? u : v, 1e-6) << record << " " << k;
      EXPECT_NEAR(w.windy(k), record == 1 ? v : u, 1e-6) << record << " " << k;
    }
  }
}

TEST(Regrid, CurrentsTakeUAndVFromTheirOwnNodesAndCounts) {
  reset_state();
  temp_dir dir;
  model_grid(4, 5, -4.0, 43.0, 0.5, 0.25);
  const auto un = random_nodes(1, 100, -5.0, 42.0, 4.0, 3.0);
  const auto vn = random_nodes(2, 80, -5.0, 42.0, 4.0, 3.0);
  const auto vn2 = random_nodes(3, 80, -5.0, 42.0, 4.0, 3.0);
  auto fu = [](double lon, double lat) {
    return std::vector<double>{0.5 + 0.25 * lon - 0.125 * lat};
  };
  auto fv = [](double lon, double lat) { return std::vector<double>{-0.75 * lon + 0.5 * lat}; };
  write_file("U_lstcurr.pre", "u1.txt\nu2.txt\n");
  write_file("V_lstcurr.pre", "v1.txt\nv2.txt\n");
  write_file("u1.txt", node_file(un, fu));
  write_file("u2.txt", node_file(un, [&](double x, double y) {
               return std::vector<double>{2 * fu(x, y)[0]};
             }));
  write_file("v1.txt", node_file(vn, fv));
  write_file("v2.txt", node_file(vn2, fv));  // V nodes may change from record to record

  std::array<int32_t, 3> nodes{100, 80, 7};
  ::testing::internal::CaptureStdout();
  interpola_malla_corrientes(nodes, 2);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " INTERPOLANDO DATOS DE CORRIENTES\n");
  EXPECT_EQ(nodes, (std::array<int32_t, 3>{20, 20, 7}));
  EXPECT_EQ(read_file("U_lstcurr.txt"), "INT_u1.txt\nINT_u2.txt\n");
  EXPECT_EQ(read_file("V_lstcurr.txt"), "INT_v1.txt\nINT_v2.txt\n");

  struct expect {
    const char* file;
    std::function<double(double, double)> f;
  };
  const expect cases[] = {
      {"INT_u1.txt", [&](double x, double y) { return fu(x, y)[0]; }},
      {"INT_u2.txt", [&](double x, double y) { return 2 * fu(x, y)[0]; }},
      {"INT_v1.txt", [&](double x, double y) { return fv(x, y)[0]; }},
      {"INT_v2.txt", [&](double x, double y) { return fv(x, y)[0]; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto lines = lines_of(read_file(c.file));
    ASSERT_EQ(lines.size(), 20u);
    for (int32_t k = 1; k <= 20; ++k) {
      const std::string& l = lines[static_cast<std::size_t>(k - 1)];
      ASSERT_EQ(l.size(), 34u);
      EXPECT_EQ(l.substr(0, 20),
                fmt_f(var_mallas.xbat(k) - 360.0, 10, 4) + fmt_f(var_mallas.ybat(k), 10, 4));
      // A linear field is reproduced up to single-precision rounding.
      EXPECT_NEAR(std::stod(l.substr(20)), c.f(var_mallas.xbat(k) - 360.0, var_mallas.ybat(k)),
                  1e-4);
    }
  }
}

TEST(Regrid, CurrentLineLayout) {
  reset_state();
  temp_dir dir;
  model_grid(1, 1, -3.75, 43.5, 0.25, 0.25);
  // A constant field is reproduced exactly.
  const std::vector<std::pair<double, double>> n = {{-4, 43}, {-3, 43}, {-3, 44}, {-4, 44.5}};
  write_file("U_lstcurr.pre", "u.txt\n");
  write_file("V_lstcurr.pre", "v.txt\n");
  write_file("u.txt", node_file(n, [](double, double) { return std::vector<double>{0.125}; }));
  write_file("v.txt", node_file(n, [](double, double) { return std::vector<double>{-12.5}; }));
  std::array<int32_t, 3> nodes{4, 4, 0};
  ::testing::internal::CaptureStdout();
  interpola_malla_corrientes(nodes, 1);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(read_file("INT_u.txt"), "   -3.7500   43.5000      0.125000\n");
  EXPECT_EQ(read_file("INT_v.txt"), "   -3.7500   43.5000    -12.500000\n");
}

TEST(Regrid, WaveDirectionsAreInterpolatedThroughSineAndCosine) {
  reset_state();
  temp_dir dir;
  model_grid(6, 6, -3.9, 43.1, 0.15, 0.15);
  // Directions alternate between 350 and 10 degrees across the nodes:
  // every value in between lies near north, none near 180.
  const auto n = random_nodes(5, 60, -4.5, 42.5, 2.0, 2.0);
  std::string wa, wb;
  int k = 0;
  for (const auto& [lon, lat] : n) {
    const double dir = (k++ % 2 == 0) ? 350.0 : 10.0;
    wa += fmt_f(lon, 10, 4) + fmt_f(lat, 10, 4) + " 1.5 " + fmt_f(dir, 8, 1) + " 7.25\n";
    wb += fmt_f(lon, 10, 4) + fmt_f(lat, 10, 4) + " 2.0 350.0 1.0\n";
  }
  write_file("lstwaves.pre", "a.txt\nb.txt\n");
  write_file("a.txt", wa);
  write_file("b.txt", wb);
  int32_t nodes = 60;
  ::testing::internal::CaptureStdout();
  interpola_malla(3, nodes, 2);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " INTERPOLANDO DATOS DE OLEAJE\n");
  EXPECT_EQ(nodes, 36);
  EXPECT_EQ(read_file("lstwaves.txt"), "INT_a.txt\nINT_b.txt\n");

  const auto la = lines_of(read_file("INT_a.txt"));
  ASSERT_EQ(la.size(), 36u);
  for (const std::string& l : la) {
    ASSERT_EQ(l.size(), 62u);
    const double dir = std::stod(l.substr(34, 14));
    EXPECT_GE(dir, 0.0) << l;
    EXPECT_LT(dir, 360.0) << l;
    EXPECT_LE(std::min(dir, 360.0 - dir), 45.0) << l;
    EXPECT_EQ(l.substr(20, 14), "         1.500") << l;  // height, a constant field
    EXPECT_EQ(l.substr(48), "         7.250") << l;      // period, as read (not floored)
  }
  // A constant direction comes back as it was.
  for (const std::string& l : lines_of(read_file("INT_b.txt"))) {
    EXPECT_EQ(l.substr(20), "         2.000       350.000         1.000") << l;
  }
}

TEST(Regrid, WaveDirectionsNearNorthAreWrittenBelow360) {
  struct row {
    const char* dirs;  // at the four corners of the unit square
    const char* written;
  };
  const row rows[] = {
      {"350 10 10 350", "0.000"},                        // both sides of north, averaging to north
      {"359.9999 359.9999 359.9999 359.9999", "0.000"},  // would read 360.000
      {"359.999 359.999 359.999 359.999", "359.999"},
      {"0.0004 0.0004 0.0004 0.0004", "0.000"},
      {"180 180 180 180", "180.000"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.dirs);
    reset_state();
    temp_dir dir;
    model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
    std::istringstream d(r.dirs);
    std::string file;
    for (const char* corner : {"0 0", "1 0", "1 1", "0 1"}) {
      std::string v;
      d >> v;
      file += std::string(corner) + " 1 " + v + " 5\n";
    }
    write_file("lstwaves.pre", "w.txt\n");
    write_file("w.txt", file);
    int32_t nodes = 4;
    ::testing::internal::CaptureStdout();
    interpola_malla(3, nodes, 1);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(read_file("INT_w.txt"),
              "    0.5000    0.5000         1.000" + fmt_a(r.written, 14) + "         5.000\n");
  }
}

TEST(Regrid, NoFilesStillSetsTheNodeCounts) {
  reset_state();
  temp_dir dir;
  model_grid(3, 2, 0.0, 0.0, 1.0, 1.0);
  std::array<int32_t, 3> cn{10, 11, 12};
  int32_t wn = 9;
  ::testing::internal::CaptureStdout();
  interpola_malla_corrientes(cn, 0);
  interpola_malla(2, wn, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            " INTERPOLANDO DATOS DE CORRIENTES\n INTERPOLANDO DATOS DE VIENTO\n");
  EXPECT_EQ(cn, (std::array<int32_t, 3>{6, 6, 12}));
  EXPECT_EQ(wn, 6);
  EXPECT_TRUE(dir.files().empty());
}

TEST(Regrid, OtherOptionsDoNothing) {
  reset_state();
  temp_dir dir;
  model_grid(3, 2, 0.0, 0.0, 1.0, 1.0);
  for (int32_t option : {0, 1, 4}) {
    int32_t n = 9;
    ::testing::internal::CaptureStdout();
    interpola_malla(option, n, 3);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(n, 9);
  }
  EXPECT_TRUE(dir.files().empty());
}

// Four nodes around the unit square's centre with a constant wind.
const char* square_wind = "0 0 1 2\n1 0 1 2\n1 1 1 2\n0 1 1 2\n";

TEST(Regrid, NamesOfTheRegriddedFiles) {
  reset_state();
  temp_dir dir;
  model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
  const std::string long_name = std::string(96, 'w') + "_abcdef.txt";  // 107 characters
  fs::create_directory("d");
  fs::create_directory("INT_d");
  write_file(long_name, square_wind);
  write_file("d/a.txt", square_wind);
  // Trailing blanks of a list line are not part of the name.
  write_file("lstwinds.pre", long_name + "   \nd/a.txt\n");
  int32_t nodes = 4;
  ::testing::internal::CaptureStdout();
  interpola_malla(2, nodes, 2);
  ::testing::internal::GetCapturedStdout();
  const std::string cut = "INT_" + long_name.substr(0, 100);
  EXPECT_EQ(read_file("lstwinds.txt"), cut + "\nINT_d/a.txt\n");
  EXPECT_EQ(read_file(cut), "    0.5000    0.5000      1.000000      2.000000\n");
  EXPECT_TRUE(fs::exists("INT_d/a.txt"));
}

TEST(Regrid, NamesCollidingAfterTheCutAreAnError) {
  reset_state();
  temp_dir dir;
  model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
  const std::string stem(100, 'n');
  write_file(stem + "_1.txt", square_wind);
  write_file(stem + "_2.txt", square_wind);
  write_file("lstwinds.pre", stem + "_1.txt\n" + stem + "_2.txt\n");
  int32_t nodes = 4;
  ::testing::internal::CaptureStdout();
  try {
    interpola_malla(2, nodes, 2);
    ADD_FAILURE() << "no error";
  } catch (const input_error& e) {
    EXPECT_EQ(e.file(), "lstwinds.pre");
    EXPECT_EQ(e.line(), 2);
    EXPECT_NE(e.message().find("line 1 of lstwinds.pre"), std::string::npos) << e.what();
  }
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(nodes, 4);
  EXPECT_FALSE(fs::exists("INT_" + stem));
  EXPECT_FALSE(fs::exists("lstwinds.txt"));
}

TEST(Regrid, CollisionsBetweenTheUAndVLists) {
  struct row {
    const char* u_list;
    const char* v_list;
    int32_t nu, nv;
    bool error;
  };
  const std::string stem(100, 's');
  const row rows[] = {
      {"same.txt\nsame.txt\n", "v.txt\nv.txt\n", 5, 4, false},  // one file for two records
      {"same.txt\n", "same.txt\n", 5, 5, false},                // read the same way: same content
      {"same.txt\n", "same.txt\n", 4, 5, true},                 // a count short of the file's nodes
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.u_list + std::string("|") + r.v_list);
    reset_state();
    temp_dir dir;
    model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
    write_file("same.txt", std::string(square_wind) + "2 2 1 1\n");
    write_file("v.txt", square_wind);
    write_file("U_lstcurr.pre", r.u_list);
    write_file("V_lstcurr.pre", r.v_list);
    std::array<int32_t, 3> nodes{r.nu, r.nv, 0};
    const auto nfiles = static_cast<int32_t>(lines_of(r.u_list).size());
    ::testing::internal::CaptureStdout();
    if (r.error) {
      EXPECT_THROW(interpola_malla_corrientes(nodes, nfiles), input_error);
    } else {
      EXPECT_NO_THROW(interpola_malla_corrientes(nodes, nfiles));
    }
    ::testing::internal::GetCapturedStdout();
  }
}

TEST(Regrid, ValuesThatAreNotFiniteOrDoNotFitAreErrors) {
  struct row {
    const char* name;
    int32_t option;
    const char* file;
    const char* found;
    int64_t line;  // 0: a regridded value (of a model node) is at fault
  };
  // Values that are not finite are refused as the file is read, on their
  // line; values that do not fit the regridded file, at the model node.
  const row rows[] = {
      // F14.6 holds at most 99999999.999999.
      {"too large", 2, "0 0 1 2\n1 0 1 2\n1 1 1e9 2\n0 1 1 2\n", "does not fit the field F14.6", 0},
      {"not a number", 2, "0 0 1 2\n1 0 1 nan\n1 1 1 2\n0 1 1 2\n", "a finite real number", 2},
      {"infinite height", 3, "0 0 inf 0 5\n1 0 1 0 5\n1 1 1 0 5\n0 1 1 0 5\n", "a finite real number", 1},
      {"direction not a number", 3, "0 0 1 nan 5\n1 0 1 0 5\n1 1 1 0 5\n0 1 1 0 5\n",
       "a finite real number", 1},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    reset_state();
    temp_dir dir;
    model_grid(2, 1, 0.25, 0.5, 0.5, 1.0);
    const char* list = r.option == 2 ? "lstwinds.pre" : "lstwaves.pre";
    write_file(list, "f.txt\n");
    write_file("f.txt", r.file);
    int32_t nodes = 4;
    ::testing::internal::CaptureStdout();
    try {
      interpola_malla(r.option, nodes, 1);
      ADD_FAILURE() << "no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "f.txt");
      EXPECT_EQ(e.line(), r.line);
      if (r.line == 0) {
        EXPECT_NE(e.message().find("model node "), std::string::npos) << e.what();
      }
      EXPECT_NE(e.message().find(r.found), std::string::npos) << e.what();
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(fs::exists("INT_f.txt"));
    EXPECT_FALSE(fs::exists("INT_f.txt.partial"));
  }
}

TEST(Regrid, InputFaultsNameTheFile) {
  struct row {
    const char* name;
    const char* list;  // nullptr: no list file
    const char* data;
    int32_t nfiles;
    const char* file;
    int64_t line;
  };
  const row rows[] = {
      {"missing list", nullptr, square_wind, 1, "lstwinds.pre", 0},
      {"short list", "f.txt\n", square_wind, 2, "lstwinds.pre", 2},
      {"blank name", "\nf.txt\n", square_wind, 1, "lstwinds.pre", 1},
      {"missing file", "g.txt\n", square_wind, 1, "g.txt", 0},
      // Three node lines for four nodes: the last line is named.
      {"short file", "f.txt\n", "0 0 1 2\n1 0 1 2\n1 1 1 2\n", 1, "f.txt", 3},
      {"long file", "f.txt\n", "0 0 1 2\n1 0 1 2\n1 1 1 2\n0 1 1 2\n2 2 1 2\n", 1, "f.txt", 5},
      {"bad number", "f.txt\n", "0 0 1 2\n1 0 x 2\n1 1 1 2\n0 1 1 2\n", 1, "f.txt", 2},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    reset_state();
    temp_dir dir;
    model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
    if (r.list) write_file("lstwinds.pre", r.list);
    write_file("f.txt", r.data);
    int32_t nodes = 4;
    ::testing::internal::CaptureStdout();
    try {
      interpola_malla(2, nodes, r.nfiles);
      ADD_FAILURE() << "no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), r.file) << e.what();
      EXPECT_EQ(e.line(), r.line) << e.what();
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(fs::exists("lstwinds.txt"));
  }
}

// One scattered file `name` holding `text` regridded onto two model nodes
// inside its square of nodes: the regridded file, what went to standard
// error and the error's text ("" when none).  `option` 1 is a U current
// file (with a constant V beside it), 2 wind, 3 waves.
struct regridded {
  std::string result;
  std::string warnings;
  std::string error;
  int64_t error_line = -1;
  std::string error_file;
};

regridded regrid_one(int32_t option, const std::string& name, const std::string& text) {
  reset_state();
  temp_dir dir;
  model_grid(2, 1, 0.25, 0.5, 0.5, 1.0);
  write_file(name, text);
  regridded out;
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  try {
    if (option == 1) {
      write_file("U_lstcurr.pre", name + "\n");
      write_file("V_lstcurr.pre", "v.txt\n");
      write_file("v.txt", "0 0 0.5\n1 0 0.5\n1 1 0.5\n0 1 0.5\n");
      std::array<int32_t, 3> nodes{4, 4, 0};
      interpola_malla_corrientes(nodes, 1);
    } else {
      write_file(option == 2 ? "lstwinds.pre" : "lstwaves.pre", name + "\n");
      int32_t nodes = 4;
      interpola_malla(option, nodes, 1);
    }
  } catch (const input_error& e) {
    out.error = e.what();
    out.error_line = e.line();
    out.error_file = e.file();
  }
  ::testing::internal::GetCapturedStdout();
  out.warnings = ::testing::internal::GetCapturedStderr();
  if (fs::exists("INT_" + name)) out.result = read_file("INT_" + name);
  return out;
}

// Scattered files written for other tools may carry extra columns: they
// regrid to the bytes of the file without them, with one warning for the
// file.  A comma between two digits on a line with too many values is a
// decimal comma: refused on its line, nothing regridded.
TEST(Regrid, ExtraColumnsAreWarnedOnceAndDecimalCommasRefused) {
  struct row {
    const char* what;
    int32_t option;
    const char* correct;
    const char* extra;    // the correct file with extra columns
    const char* counts;   // what the warning says of line 1
    const char* comma;    // the correct file with a decimal comma
    int64_t comma_line;
    const char* comma_counts;
  };
  const row rows[] = {
      {"current", 1, "0 0 0.125\n1 0 0.25\n1 1 0.5\n0 1 0.125\n",
       "0 0 0.125 0.0 7\n1 0 0.25 0.0 7\n1 1 0.5 0.0 7\n0 1 0.125 0.0 7\n",
       "the line holds 5 values, but its record takes 3", "0 0 0,125\n1 0 0.25\n1 1 0.5\n0 1 0.125\n", 1,
       "the line holds 4 values, but its record takes 3"},
      {"wind", 2, "0 0 1 2\n1 0 1.5 2\n1 1 1 2.5\n0 1 1 2\n",
       "0 0 1 2 1013.0 7\n1 0 1.5 2 1013.0 7\n1 1 1 2.5 1012.5 7\n0 1 1 2 1013.0 7\n",
       "the line holds 6 values, but its record takes 4", "0 0 1 2\n1 0 1,5 2\n1 1 1 2.5\n0 1 1 2\n", 2,
       "the line holds 5 values, but its record takes 4"},
      {"waves", 3, "0 0 1 0 5\n1 0 1.5 10 5\n1 1 1 20 6\n0 1 1 0 5\n",
       "0 0 1 0 5 9\n1 0 1.5 10 5 9\n1 1 1 20 6 9\n0 1 1 0 5 9\n",
       "the line holds 6 values, but its record takes 5", "0 0 1 0 5\n1 0 1.5 10 5\n1 1 1 20,5 6\n0 1 1 0 5\n", 3,
       "the line holds 6 values, but its record takes 5"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string base = std::string("scattered_") + r.what;
    const regridded correct = regrid_one(r.option, base + ".txt", r.correct);
    ASSERT_EQ(correct.error, "");
    ASSERT_FALSE(correct.result.empty());
    EXPECT_EQ(correct.warnings, "");

    const std::string extra_name = base + "_extra.txt";
    const regridded extra = regrid_one(r.option, extra_name, r.extra);
    EXPECT_EQ(extra.error, "");
    EXPECT_EQ(extra.result, correct.result);
    const std::string taken = std::to_string(r.option == 1 ? 3 : r.option + 2);
    EXPECT_EQ(extra.warnings, "orvel: warning: " + extra_name + ":1: " + r.counts + ": the values beyond the first " +
                                  taken +
                                  " are not read (said once for this file; a file written for another tool may carry "
                                  "extra columns)\n");

    const std::string comma_name = base + "_comma.txt";
    const regridded comma = regrid_one(r.option, comma_name, r.comma);
    EXPECT_EQ(comma.error_file, comma_name);
    EXPECT_EQ(comma.error_line, r.comma_line);
    EXPECT_NE(comma.error.find(std::string(r.comma_counts) + ": is the comma the decimal mark?"), std::string::npos)
        << comma.error;
    EXPECT_EQ(comma.result, "");
    EXPECT_EQ(comma.warnings, "");
  }
}

TEST(Regrid, InterpolatorStopsEndTheRun) {
  struct row {
    const char* name;
    const char* data;
    int32_t nodes;
    int32_t nx;
    const char* reason;
  };
  const row rows[] = {
      // Longitudes + 360 round to the same single-precision number.
      {"identical after + 360", "-3.5 43.5 1 2\n-3.499999 43.5 1 2\n-3 44 1 2\n-4 44 1 2\n", 4, 1,
       "IDTANG - Fatal error!\n  Two of the input data points are identical."},
      {"three nodes", "0 0 1 2\n1 0 1 2\n1 1 1 2\n", 3, 1,
       "IDBVIP - Fatal error!\n  Input parameter NDP out of range."},
      {"collinear", "0 0 1 2\n1 1 1 2\n2 2 1 2\n3 3 1 2\n", 4, 1, "  All collinear data points."},
      {"empty model grid", square_wind, 4, 0, "  Input parameter NIP out of range."},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    reset_state();
    temp_dir dir;
    model_grid(r.nx, 1, 0.5, 0.5, 1.0, 1.0);
    write_file("lstwinds.pre", "f.txt\n");
    write_file("f.txt", r.data);
    int32_t nodes = r.nodes;
    ::testing::internal::CaptureStdout();
    try {
      interpola_malla(2, nodes, 1);
      ADD_FAILURE() << "no stop";
    } catch (const input_error& e) {
      // The interpolator's own lines stay for standard output; the error
      // names the file whose nodes it stopped on.
      EXPECT_NE(e.stop_text().find(r.reason), std::string::npos) << e.stop_text();
      EXPECT_EQ(e.file(), "f.txt");
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(fs::exists("lstwinds.txt"));
  }
}

TEST(Regrid, DataFolderPrefixesEveryFileButNotTheListedNames) {
  reset_state();
  temp_dir dir;
  model_grid(1, 1, 0.5, 0.5, 1.0, 1.0);
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = fixlen("data/", 256);
  fs::create_directory("data");
  write_file("data/lstwinds.pre", "w.txt\n");
  write_file("data/w.txt", square_wind);
  int32_t nodes = 4;
  ::testing::internal::CaptureStdout();
  interpola_malla(2, nodes, 1);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(read_file("data/lstwinds.txt"), "INT_w.txt\n");
  EXPECT_EQ(read_file("data/INT_w.txt"), "    0.5000    0.5000      1.000000      2.000000\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"data"});
}

TEST(Regrid, ModelGridWithoutCoordinatesIsRefused) {
  reset_state();
  temp_dir dir;
  var_mallas.xcells_number = 3;
  var_mallas.ycells_number = 2;
  write_file("lstwinds.pre", "w.txt\n");
  write_file("w.txt", square_wind);
  int32_t nodes = 4;
  ::testing::internal::CaptureStdout();
  EXPECT_THROW(interpola_malla(2, nodes, 1), std::logic_error);
  ::testing::internal::GetCapturedStdout();
}

// ---------------------------------------------------------------------------
// Reuse of triangulations.

TEST(RegridReuse, ReusedTriangulationsGiveTheBytesOfTheLiteralRegridding) {
  // Records with the same nodes, with new nodes, with U and V on the same
  // and on different nodes, and a wave list: every INT_ file written with
  // reused triangulations equals the one written with a fresh triangulation
  // per column.
  const auto a = random_nodes(11, 40, -5.0, 42.0, 3.0, 3.0);
  const auto b = random_nodes(12, 35, -5.5, 41.5, 4.0, 4.0);
  const auto c = random_nodes(13, 40, -5.0, 42.0, 3.0, 3.0);  // as many nodes as a
  auto wavy = [](double s) {
    return [s](double lon, double lat) {
      return std::vector<double>{std::sin(3 * lon + s) + lat * s, std::cos(2 * lat - s) * lon,
                                 std::fmod(90 * lon + 37 * lat * s + 720, 360.0)};
    };
  };
  struct stream {
    forcing_kind kind;
    std::vector<std::vector<std::pair<double, double>>> nodes;  // per record
  };
  const stream streams[] = {
      {forcing_kind::current, {a, a, b, c}},  // U
      {forcing_kind::current, {a, c, b, a}},  // V
      {forcing_kind::wind, {b, b, a}},
      {forcing_kind::waves, {a, a, c, c}},
  };
  std::map<std::string, std::string> files[2];
  int32_t triangulations[2] = {0, 0};
  for (int pass = 0; pass < 2; ++pass) {
    const bool reuse = pass == 1;
    reset_state();
    temp_dir dir;
    model_grid(7, 6, -4.8, 41.7, 0.5, 0.5);
    // Currents: U and V in lockstep with two slots.
    regrid_detail::file_regridder cur(forcing_kind::current, 2, reuse);
    for (std::size_t k = 0; k < streams[0].nodes.size(); ++k) {
      for (int s = 0; s < 2; ++s) {
        const std::string name = (s == 0 ? "u" : "v") + std::to_string(k) + ".txt";
        const auto& nodes = streams[s].nodes[k];
        write_file(name, node_file(nodes, wavy(0.1 * k + s)));
        cur.read_and_interpolate(s, name, static_cast<int32_t>(nodes.size()));
      }
      cur.write(0);
      cur.write(1);
    }
    triangulations[pass] += cur.interpolator().triangulations();
    for (int s = 2; s < 4; ++s) {
      regrid_detail::file_regridder g(streams[s].kind, 1, reuse);
      for (std::size_t k = 0; k < streams[s].nodes.size(); ++k) {
        const std::string name = "f" + std::to_string(s) + "_" + std::to_string(k) + ".txt";
        const auto& nodes = streams[s].nodes[k];
        write_file(name, node_file(nodes, wavy(0.3 * k)));
        g.read_and_interpolate(0, name, static_cast<int32_t>(nodes.size()));
        g.write(0);
      }
      triangulations[pass] += g.interpolator().triangulations();
    }
    for (const std::string& f : dir.files()) {
      if (f.rfind("INT_", 0) == 0) files[pass][f] = read_file(f);
    }
  }
  EXPECT_EQ(files[0].size(), 4u * 2 + 3 + 4);
  EXPECT_EQ(files[0], files[1]);
  // Literal: one per column (U 4, V 4, wind 3 x 2, waves 4 x 4).  Reused:
  // currents a (U, then V), c (V), b (U, then V), a again (V; U's c is
  // found in V's slot); wind b, a; waves a, c.
  EXPECT_EQ(triangulations[0], 4 + 4 + 6 + 16);
  EXPECT_EQ(triangulations[1], 4 + 2 + 2);
}

TEST(RegridReuse, TriangulationIsReusedOnlyForByteIdenticalNodes) {
  reset_state();
  std::vector<double> xi = {0.3, 0.7, 1.5}, yi = {0.4, 0.2, -0.5};
  std::vector<float> x = {0, 1, 1, 0, 0.5f}, y = {0, 0, 1, 1, 0.5f};
  const std::vector<std::vector<float>> cols = {{1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}};
  regrid_detail::column_interpolator ci(1, true);
  std::vector<std::vector<float>> out;
  ci.interpolate(0, x, y, cols, xi, yi, out);
  EXPECT_EQ(ci.triangulations(), 1);
  ci.interpolate(0, x, y, cols, xi, yi, out);
  EXPECT_EQ(ci.triangulations(), 1);
  // -0 and 0 compare equal as numbers but are other bytes.
  x[0] = -0.0f;
  ci.interpolate(0, x, y, cols, xi, yi, out);
  EXPECT_EQ(ci.triangulations(), 2);
  y[4] = std::nextafter(0.5f, 1.0f);
  ci.interpolate(0, x, y, cols, xi, yi, out);
  EXPECT_EQ(ci.triangulations(), 3);
}

// ---------------------------------------------------------------------------
// Model grids reaching beyond the scattered nodes.

// Convex hull of the nodes as the interpolator sees them (single-precision
// longitude + 360 and latitude), counter-clockwise.
std::vector<std::pair<double, double>> node_hull(const std::vector<std::pair<double, double>>& nodes) {
  interp_test::points p;
  for (const auto& [lon, lat] : nodes) {
    p.x.push_back(static_cast<float>(lon) + 360.0f);
    p.y.push_back(static_cast<float>(lat));
  }
  auto h = interp_test::hull_monotone_chain(p);
  h.pop_back();  // the closing point
  return h;
}

// Nearest point of the hull's boundary to (x, y), and whether (x, y) lies
// outside the hull by more than `margin`.
std::pair<std::pair<double, double>, bool> nearest_on_hull(const std::vector<std::pair<double, double>>& h,
                                                          double x, double y, double margin) {
  std::pair<double, double> best{0, 0};
  double best_d = INFINITY;
  bool outside = false;
  for (std::size_t i = 0; i < h.size(); ++i) {
    const auto [ax, ay] = h[i];
    const auto [bx, by] = h[(i + 1) % h.size()];
    const double ex = bx - ax, ey = by - ay, len = std::hypot(ex, ey);
    if ((ex * (y - ay) - ey * (x - ax)) / len < -margin) outside = true;
    const double t = std::clamp(((x - ax) * ex + (y - ay) * ey) / (len * len), 0.0, 1.0);
    const double d = std::hypot(x - ax - t * ex, y - ay - t * ey);
    if (d < best_d) {
      best_d = d;
      best = {ax + t * ex, ay + t * ey};
    }
  }
  return {best, outside};
}

// Regrids the wind of nfiles listed files of `nodes` nodes each: the
// error's text ("" when none), with what went to standard error in
// `warnings`.
std::string regrid_wind(int32_t nodes, int32_t nfiles, std::string& warnings) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  std::string error;
  try {
    interpola_malla(2, nodes, nfiles);
  } catch (const std::exception& e) {
    error = e.what();
  }
  ::testing::internal::GetCapturedStdout();
  warnings = ::testing::internal::GetCapturedStderr();
  return error;
}

// Wind stations rarely surround the model grid.  Sets of 40 random stations
// with ordinary noise (0.01 to 0.5 m/s) over a grid reaching 0.5 degrees
// beyond them on every side: every set is regridded, the nodes beyond the
// stations take values within the data's range, the nodes inside keep the
// interpolated values bit for bit, and one warning names the first file.
// Without noise (a plane) a node beyond the stations takes the plane's
// value at the nearest point of the stations' hull.
TEST(RegridBeyondHull, StationsNotSurroundingTheGridGiveValuesWithinTheData) {
  struct row {
    uint32_t seed;
    double noise;  // m/s, uniform in [-noise, noise]
  };
  const row rows[] = {{21, 0.0},  {22, 0.01}, {23, 0.05}, {24, 0.1}, {25, 0.2},
                      {26, 0.3},  {27, 0.4},  {28, 0.5},  {29, 0.5}};
  auto plane_u = [](double lon, double lat) { return 4.0 + 1.5 * (lon + 4.0) - 0.8 * (lat - 43.0); };
  auto plane_v = [](double lon, double lat) { return -2.0 + 0.6 * (lon + 4.0) + 1.1 * (lat - 43.0); };
  for (const row& r : rows) {
    SCOPED_TRACE("seed " + std::to_string(r.seed) + ", noise " + std::to_string(r.noise));
    reset_state();
    temp_dir dir;
    model_grid(9, 9, -5.5, 41.5, 0.375, 0.375);
    const auto stations = random_nodes(r.seed, 40, -5.0, 42.0, 2.0, 2.0);
    const auto hull = node_hull(stations);
    std::mt19937 g(r.seed);
    std::uniform_real_distribution<double> noise(-r.noise, r.noise);
    std::vector<std::vector<std::vector<float>>> data(2);  // file, column, node
    std::string list;
    for (int f = 0; f < 2; ++f) {
      const std::string name = "w" + std::to_string(f) + ".txt";
      list += name + "\n";
      std::string text;
      data[f].assign(2, {});
      for (const auto& [lon, lat] : stations) {
        const double u = plane_u(lon, lat) + noise(g), v = plane_v(lon, lat) + noise(g);
        text += fmt_f(lon, 12, 6) + " " + fmt_f(lat, 12, 6) + " " + fmt_f(u, 14, 6) + " " + fmt_f(v, 14, 6) + "\n";
        data[f][0].push_back(std::stof(fmt_f(u, 14, 6)));
        data[f][1].push_back(std::stof(fmt_f(v, 14, 6)));
      }
      write_file(name, text);
    }
    write_file("lstwinds.pre", list);
    std::string warnings;
    const std::string error = regrid_wind(40, 2, warnings);
    EXPECT_EQ(error, "");
    if (!error.empty()) continue;
    // One warning, naming the first file.
    EXPECT_EQ(lines_of(warnings).size(), 1u) << warnings;
    EXPECT_EQ(warnings.rfind("orvel: warning: ", 0), 0u) << warnings;
    EXPECT_NE(warnings.find("w0.txt"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("outside the area of the scattered wind nodes"), std::string::npos) << warnings;

    // The plain interpolation, as the reference inside the hull.
    std::vector<float> xd, yd;
    for (const auto& [lon, lat] : stations) {
      xd.push_back(static_cast<float>(lon) + 360.0f);
      yd.push_back(static_cast<float>(lat));
    }
    const int32_t m = 81;
    std::span<const double> xi(var_mallas.xbat.data(), m), yi(var_mallas.ybat.data(), m);
    int32_t beyond = 0;
    for (int f = 0; f < 2; ++f) {
      SCOPED_TRACE("file " + std::to_string(f));
      ASSERT_TRUE(fs::exists("INT_w" + std::to_string(f) + ".txt"));
      const auto lines = lines_of(read_file("INT_w" + std::to_string(f) + ".txt"));
      ASSERT_EQ(lines.size(), static_cast<std::size_t>(m));
      for (int c = 0; c < 2; ++c) {
        std::vector<float> plain(m);
        scattered_interpolator si;
        si.idbvip(1, 40, xd, yd, data[f][c], m, xi, yi, plain);
        const auto [lo, hi] = std::minmax_element(data[f][c].begin(), data[f][c].end());
        for (int32_t k = 0; k < m; ++k) {
          const std::string field = lines[k].substr(20 + 14 * c, 14);
          const float got = std::stof(field);
          const auto [foot, outside] = nearest_on_hull(hull, xi[k], yi[k], 1e-5);
          const bool in_hull = si.region(k + 1) <= si.nt();
          EXPECT_EQ(outside, !in_hull) << k;
          if (in_hull) {
            EXPECT_EQ(field, fmt_f(plain[k], 14, 6)) << k;
            continue;
          }
          beyond += f == 0 && c == 0;
          EXPECT_GE(got, *lo) << k;
          EXPECT_LE(got, *hi) << k;
          if (r.noise == 0.0) {
            const double want = (c == 0 ? plane_u : plane_v)(foot.first - 360.0, foot.second);
            EXPECT_NEAR(got, want, 2e-4) << k;
          }
        }
      }
    }
    EXPECT_NE(warnings.find(std::to_string(beyond) + " of the 81 model grid nodes"), std::string::npos)
        << warnings;
    EXPECT_GT(beyond, 30);
  }
}

// The same stations around the grid: nothing lies beyond them, no warning,
// and the regridded file is the plain interpolation.
TEST(RegridBeyondHull, StationsSurroundingTheGridAreUnchanged) {
  reset_state();
  temp_dir dir;
  model_grid(6, 6, -4.6, 42.4, 0.25, 0.25);
  auto stations = random_nodes(31, 36, -5.0, 42.0, 2.0, 2.0);
  for (auto corner : {std::pair{-5.0, 42.0}, {-3.0, 42.0}, {-3.0, 44.0}, {-5.0, 44.0}}) stations.push_back(corner);
  std::mt19937 g(31);
  std::uniform_real_distribution<double> noise(-0.5, 0.5);
  std::string text;
  std::vector<float> xd, yd;
  std::vector<std::vector<float>> z(2);
  for (const auto& [lon, lat] : stations) {
    const double u = 3.0 + std::sin(2.0 * lon) + noise(g), v = std::cos(3.0 * lat) + noise(g);
    text += fmt_f(lon, 12, 6) + " " + fmt_f(lat, 12, 6) + " " + fmt_f(u, 14, 6) + " " + fmt_f(v, 14, 6) + "\n";
    xd.push_back(static_cast<float>(lon) + 360.0f);
    yd.push_back(static_cast<float>(lat));
    z[0].push_back(std::stof(fmt_f(u, 14, 6)));
    z[1].push_back(std::stof(fmt_f(v, 14, 6)));
  }
  write_file("w.txt", text);
  write_file("lstwinds.pre", "w.txt\n");
  std::string warnings;
  EXPECT_EQ(regrid_wind(40, 1, warnings), "");
  EXPECT_EQ(warnings, "");
  const int32_t m = 36;
  std::span<const double> xi(var_mallas.xbat.data(), m), yi(var_mallas.ybat.data(), m);
  std::vector<std::vector<float>> plain(2, std::vector<float>(m));
  for (int c = 0; c < 2; ++c) {
    scattered_interpolator si;
    si.idbvip(1, 40, xd, yd, z[c], m, xi, yi, plain[c]);
    for (int32_t k = 1; k <= m; ++k) ASSERT_LE(si.region(k), si.nt());
  }
  std::string want;
  for (int32_t k = 0; k < m; ++k) {
    want += fmt_f(xi[k] - 360.0, 10, 4) + fmt_f(yi[k], 10, 4) + fmt_f(plain[0][k], 14, 6) +
            fmt_f(plain[1][k], 14, 6) + "\n";
  }
  EXPECT_EQ(read_file("INT_w.txt"), want);
}

// Degenerate station sets are still refused, each with its cause named.
TEST(RegridBeyondHull, DegenerateStationSetsAreRefusedWithTheirCause) {
  struct row {
    const char* name;
    const char* data;
    int32_t nodes;
    const char* cause;
  };
  const row rows[] = {
      {"collinear", "-5 42 1 2\n-4.5 42.25 2 3\n-4 42.5 1 2\n-3 43 4 2\n-3.5 42.75 0 1\n", 5,
       "all 5 nodes lie on one straight line"},
      {"identical", "-5 42 1 2\n-4 42 2 3\n-4 43 1 2\n-4 42 4 2\n", 4, "two nodes are at the same place"},
      {"three", "-5 42 1 2\n-4 42 2 3\n-4 43 1 2\n", 3, "the file has 3 nodes; interpolation needs at least 4"},
      // The third node 1e-4 degrees of latitude off the diagonal (9.92e-5 as
      // 43.0001 rounds in single precision): the hull is 9.92e-5 / sqrt(2) =
      // 7.01e-5 degrees wide, about 2 rounding units of 360 in single precision.
      {"collinear to the coordinates' precision", "-5 42 1 2\n-4.5 42.5 2 3\n-4 43.0001 1 2\n-3 44 4 2\n-3.5 43.5 0 1\n",
       5, "the 5 nodes of this file lie within 7.01e-05 degrees of one straight line, less than 16 times the "
          "rounding of their single-precision coordinates (3.05e-05 degrees"},
      // The same thin triangle as its hull, with the fourth node inside it.
      {"a three-node hull collinear to the coordinates' precision", "-5 42 1 2\n-4.5 42.50002 2 3\n-4 43.0001 1 2\n-3 44 4 2\n",
       4, "the 4 nodes of this file lie within 7.01e-05 degrees of one straight line"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    reset_state();
    temp_dir dir;
    model_grid(4, 4, -5.5, 41.5, 0.5, 0.5);
    write_file("lstwinds.pre", "f.txt\n");
    write_file("f.txt", r.data);
    std::string warnings;
    const std::string error = regrid_wind(r.nodes, 1, warnings);
    EXPECT_EQ(error.rfind("f.txt:0: ", 0), 0u) << error;
    EXPECT_NE(error.find(r.cause), std::string::npos) << error;
    EXPECT_FALSE(fs::exists("INT_f.txt"));
    EXPECT_FALSE(fs::exists("lstwinds.txt"));
  }
  // 2e-3 degrees off the diagonal (46 rounding units) the nodes span an
  // area: a plane is regridded exactly on the diagonal and held beyond it.
  reset_state();
  temp_dir dir;
  model_grid(4, 4, -5.5, 41.5, 0.5, 0.5);
  write_file("lstwinds.pre", "f.txt\n");
  write_file("f.txt", "-5 42 0 2\n-4.5 42.5 0.5 3\n-4 43.002 1 2\n-3 44 2 2\n-3.5 43.5 1.5 1\n");
  std::string warnings;
  EXPECT_EQ(regrid_wind(5, 1, warnings), "");
  EXPECT_EQ(lines_of(warnings).size(), 1u);
  const auto lines = lines_of(read_file("INT_f.txt"));
  ASSERT_EQ(lines.size(), 16u);
  // Node 6 (-5, 42), 11 (-4.5, 42.5), 16 (-4, 43): on the diagonal, u = lon + 5.
  EXPECT_EQ(lines[5].substr(20, 14), "      0.000000");
  EXPECT_EQ(lines[10].substr(20, 14), "      0.500000");
}

// ---------------------------------------------------------------------------
// The start-up check.

TEST(RegridCheck, ScenariosThatCannotBeRegriddedAreRejected) {
  struct row {
    const char* name;
    int32_t sim, layers, joint, land, variable;
    int32_t cur_type, cur_regular, cur_format;
    int32_t wind_type, wind_regular, wind_format;
    const char* error;  // nullptr: accepted
  };
  const row rows[] = {
      {"2-D scattered currents and wind", 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 1, nullptr},
      {"3-D surface currents and depth means", 2, 2, 0, 2, 0, 1, 0, 1, 2, 0, 1, nullptr},
      {"3-D layered currents", 2, 1, 0, 1, 0, 1, 0, 1, 2, 0, 0, "one layer"},
      {"3-D layered currents on a regular grid", 2, 1, 0, 1, 0, 1, 1, 1, 2, 0, 0, nullptr},
      {"layered currents in a 2-D run", 1, 1, 0, 1, 0, 1, 0, 1, 2, 0, 0, nullptr},
      {"joint u, v, w files", 1, 0, 1, 1, 0, 1, 0, 1, 2, 0, 0, "joint u, v, w"},
      {"joint grid files", 1, 0, 1, 1, 0, 1, 0, 2, 2, 0, 0, nullptr},
      {"no grid: land-search mode 3", 1, 0, 0, 3, 0, 2, 0, 1, 1, 0, 1, "wind files"},
      {"no grid: time-varying current grid", 1, 0, 0, 1, 1, 1, 0, 1, 2, 0, 0, "time-varying"},
      {"no grid, nothing to regrid", 1, 0, 0, 3, 0, 1, 1, 1, 1, 0, 2, nullptr},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    reset_state();
    var_run.sim__2d_3d = r.sim;
    var_cfg.current3dinputformat_layers_average = r.layers;
    var_cfg.currentfilesjointuvw__y_n = r.joint;
    var_run.search_land__mask_maskandcoast = r.land;
    var_cfg.currentgrid_variable__y_n = r.variable;
    var_cfg.currenttype__file_constant = r.cur_type;
    var_mallas.currentgrid_regular__y_n = r.cur_regular;
    var_cfg.currentgridformat__xyz_grid = r.cur_format;
    var_cfg.windtype__file_constant = r.wind_type;
    var_mallas.windgrid_regular__y_n = r.wind_regular;
    var_cfg.windgridformat__xyz_grid = r.wind_format;
    if (r.error == nullptr) {
      EXPECT_NO_THROW(check_regridding("AB  "));
    } else {
      try {
        check_regridding("AB  ");
        ADD_FAILURE() << "accepted";
      } catch (const input_error& e) {
        EXPECT_EQ(e.file(), "AB  .cfg");
        EXPECT_NE(e.message().find(r.error), std::string::npos) << e.what();
      }
    }
  }
}

TEST(RegridCheck, ScatteredWavesWithoutModelGridAreRejected) {
  reset_state();
  var_run.search_land__mask_maskandcoast = 0;
  var_cfg.wavestype__file_constant = 1;
  var_cfg.wavesgridformat__xyz_grid = 1;
  EXPECT_THROW(check_regridding("ABCD"), input_error);
  var_mallas.wavesgrid_regular__y_n = 1;
  EXPECT_NO_THROW(check_regridding("ABCD"));
}

}  // namespace
}  // namespace orvel
