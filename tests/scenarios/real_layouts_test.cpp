// Real data layouts and the slips people make when they prepare them, on a
// copy of the oil example (300 t of crude off the Costa da Morte, cut to 100
// particles and 24 hours).  Each layout that holds the same data as the
// shipped files must give byte-identical result files; each slip must be
// refused (exit status 2, the file and line named, nothing written) or,
// where the model cannot tell it from a real case, run with a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios/property_rows.hpp"
#include "tests/scenarios/scenario_support.hpp"

namespace orvel {
namespace {

using namespace testing;

const char* const key = "MORT";

// The example's data files with the control files of tests/scenarios/
// layouts/ (the example's own, in a layout the edits below rely on), cut
// to 100 particles and 24 hours, in the working directory.
void copy_example() {
  const std::filesystem::path src = std::filesystem::path(ORVEL_SOURCE_DIR) / "examples" / "costa_da_morte_oil";
  for (const auto& e : std::filesystem::directory_iterator(src)) write_file(e.path().filename(), read_file(e.path()));
  copy_scenario("layouts");
  replace_line("MORT.run", "500 0", "100 0");
  replace_line("MORT.cfg", "48", "24");
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

std::string join_lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// Replaces the records that follow the comment block starting with
// `marker` (the first lines after it that are not comments).
void set_block(const std::string& marker, const std::vector<std::string>& records) {
  auto lines = split_lines(read_file("MORT.cfg"));
  std::size_t k = 0;
  while (k < lines.size() && lines[k].rfind(marker, 0) != 0) ++k;
  ASSERT_LT(k, lines.size()) << marker;
  while (k < lines.size() && lines[k][0] == '*') ++k;
  for (std::size_t r = 0; r < records.size(); ++r) lines[k + r] = records[r];
  write_file("MORT.cfg", join_lines(lines));
}

// The nodes of the example's current field: longitude, latitude, u, v.
struct node {
  std::string lon, lat, u, v;
};

std::vector<node> current_nodes() {
  std::vector<node> n;
  for (const auto& l : split_lines(read_file("currents_poleward.txt"))) {
    std::istringstream in(l);
    node x;
    if (in >> x.lon >> x.lat >> x.u >> x.v) n.push_back(x);
  }
  return n;
}

enum class order { lon_outer, lat_outer, shuffled };

// The nodes in another order: as shipped (columns of equal longitude),
// rows of equal latitude, or shuffled.
template <typename T, typename Lon, typename Lat>
std::vector<T> reordered(std::vector<T> nodes, order o, Lon lon, Lat lat) {
  if (o == order::lat_outer) {
    std::stable_sort(nodes.begin(), nodes.end(), [&](const T& a, const T& b) {
      return std::make_pair(lat(a), lon(a)) < std::make_pair(lat(b), lon(b));
    });
  } else if (o == order::shuffled) {
    std::mt19937 g(2024);
    std::shuffle(nodes.begin(), nodes.end(), g);
  }
  return nodes;
}

std::vector<node> current_nodes(order o) {
  return reordered(
      current_nodes(), o, [](const node& n) { return std::stod(n.lon); }, [](const node& n) { return std::stod(n.lat); });
}

std::string joint_file(const std::vector<node>& nodes) {
  std::string s;
  for (const auto& n : nodes) s += n.lon + " " + n.lat + " " + n.u + " " + n.v + "\n";
  return s;
}

// Separate U and V files of the same field, 9 records.
void separate_currents(order o) {
  const auto nodes = current_nodes(o);
  std::string u, v;
  for (const auto& n : nodes) {
    u += n.lon + " " + n.lat + " " + n.u + "\n";
    v += n.lon + " " + n.lat + " " + n.v + "\n";
  }
  write_file("U.txt", u);
  write_file("V.txt", v);
  write_file("U_lstcurr.pre", lines(9, "U.txt"));
  write_file("V_lstcurr.pre", lines(9, "V.txt"));
  std::filesystem::remove("lstcurr_UVW.pre");
  replace_line("MORT.cfg", "1 1 0 0 0 1", "1 1 0 0 0 0");
}

// The uniform series of the example as rows of values.
std::vector<std::vector<double>> series(const std::string& file) {
  std::vector<std::vector<double>> rows;
  for (const auto& l : split_lines(read_file(file))) {
    std::istringstream in(l);
    std::vector<double> r;
    double x = 0.0;
    while (in >> x) r.push_back(x);
    if (!r.empty()) rows.push_back(r);
  }
  return rows;
}

struct grid_node {
  double lon, lat;
};

// A 0.1-degree grid of 12 x 10 nodes around the model grid (9.7 W to
// 8.6 W, 42.6 N to 43.5 N), in the order asked for.
std::vector<grid_node> field_grid(order o) {
  std::vector<grid_node> g;
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 10; ++j) g.push_back({-9.7 + 0.1 * i, 42.6 + 0.1 * j});
  return reordered(
      g, o, [](const grid_node& n) { return n.lon; }, [](const grid_node& n) { return n.lat; });
}

std::string fixed(double x, int decimals) {
  char b[64];
  std::snprintf(b, sizeof b, "%.*f", decimals, x);
  return b;
}

// A factor that differs from node to node in both directions, so that a
// value read at the wrong node changes the forecast.
double across(const grid_node& n) { return 1.0 + 0.4 * (n.lon + 9.7) + 0.3 * (n.lat - 42.6); }

// The example's wind series as wind node lists on the field grid (one file
// per record, the speed varying across the grid), or shifted east.
void wind_node_lists(order o, double shift = 0.0) {
  const auto rows = series("lstwinds.pre");
  std::string list;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double d = rows[i][1] * std::acos(-1.0) / 180.0;
    std::string f;
    for (const auto& n : field_grid(o)) {
      const double s = rows[i][0] * across(n);
      f += fixed(n.lon + shift, 2) + " " + fixed(n.lat, 2) + " " + fixed(-s * std::sin(d), 4) + " " +
           fixed(-s * std::cos(d), 4) + "\n";
    }
    const std::string name = "wind" + std::to_string(i) + ".txt";
    write_file(name, f);
    list += name + "\n";
  }
  write_file("lstwinds.pre", list);
  set_block("* wind:", {"1 1", "1", "3 17", "120"});
}

// The example's wave series as wave node lists (direction of travel, the
// height varying across the grid), with the Stokes drift on so that the
// waves move the oil.
void wave_node_lists(order o, double height = 1.0) {
  const auto rows = series("lstwaves.pre");
  std::string list;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string f;
    for (const auto& n : field_grid(o)) {
      f += fixed(n.lon, 2) + " " + fixed(n.lat, 2) + " " + fixed(height * rows[i][0] * across(n), 2) + " " +
           fixed(std::fmod(rows[i][1] + 180.0, 360.0), 1) + " " + fixed(rows[i][2], 1) + "\n";
    }
    const std::string name = "wave" + std::to_string(i) + ".txt";
    write_file(name, f);
    list += name + "\n";
  }
  write_file("lstwaves.pre", list);
  set_block("* waves:", {"1 1", "1", "3 17", "120"});
  replace_line("MORT.cfg", "1.0 0.03 0.0 0.0 1 2.0 0.0 0.0", "1.0 0.03 0.0 1.0 1 2.0 0.0 0.0");
}

// Every result file of the run, by name.
std::map<std::string, std::string> results() {
  std::map<std::string, std::string> r;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    const std::string n = e.path().filename().string();
    if (n.rfind("MORT_", 0) == 0) r[n] = read_file(n);
  }
  return r;
}

// Runs the example with `edit` applied and returns its result files.
std::map<std::string, std::string> run_edited(const std::function<void()>& edit, std::string* err = nullptr) {
  temp_dir dir;
  copy_example();
  if (edit) edit();
  const auto r = run_orvel(dir.path(), key);
  EXPECT_EQ(r.status, 0) << r.err;
  if (err) *err = r.err;
  return results();
}

// The property rows of a run's results.
std::vector<property_row> property_rows_of(const std::map<std::string, std::string>& files) {
  const auto it = files.find("MORT_properties_001.txt");
  if (it == files.end()) return {};
  temp_dir dir;
  write_file("props.txt", it->second);
  return read_property_rows("props.txt");
}

double last_row_value(const std::map<std::string, std::string>& files, const char* column) {
  const auto rows = property_rows_of(files);
  return rows.empty() ? NAN : rows.back().at(column);
}

TEST(RealLayouts, NodeListsInAnyOrderGiveIdenticalResults) {
  struct layout {
    const char* what;
    std::function<void(order)> edit;
  };
  const layout layouts[] = {
      {"joint current files", [](order o) { write_file("currents_poleward.txt", joint_file(current_nodes(o))); }},
      {"separate U and V files", separate_currents},
      {"wind node lists", [](order o) { wind_node_lists(o); }},
      {"wave node lists", [](order o) { wave_node_lists(o); }},
  };
  for (const auto& l : layouts) {
    SCOPED_TRACE(l.what);
    const auto reference = run_edited([&] { l.edit(order::lon_outer); });
    ASSERT_FALSE(reference.empty());
    for (order o : {order::lat_outer, order::shuffled}) {
      SCOPED_TRACE(o == order::lat_outer ? "latitude outer" : "shuffled");
      EXPECT_TRUE(run_edited([&] { l.edit(o); }) == reference);
    }
  }
}

TEST(RealLayouts, TheReorderedFieldsAreTheFieldsAndNotZero) {
  // Independent of the node order: the oil moves with the current (the
  // run without it ends elsewhere) and the wind evaporates it (a calm
  // evaporates less).
  auto centre = [](const std::map<std::string, std::string>& f) {
    return std::make_pair(last_row_value(f, "centre_of_mass_lon"), last_row_value(f, "centre_of_mass_lat"));
  };
  const auto shuffled = run_edited([] { write_file("currents_poleward.txt", joint_file(current_nodes(order::shuffled))); });
  const auto still = run_edited([] {
    std::string f;
    for (const auto& n : current_nodes()) f += n.lon + " " + n.lat + " 0.0 0.0\n";
    write_file("currents_poleward.txt", f);
  });
  const auto a = centre(shuffled);
  const auto b = centre(still);
  EXPECT_GT(std::hypot(a.first - b.first, a.second - b.second), 0.01) << "the shuffled current acts as no current";

  const auto wind = run_edited([] { wind_node_lists(order::lat_outer); });
  const auto calm = run_edited([] {
    wind_node_lists(order::lat_outer);
    for (int i = 0; i < 17; ++i) {
      const std::string name = "wind" + std::to_string(i) + ".txt";
      std::string f;
      for (const auto& n : field_grid(order::lat_outer)) f += fixed(n.lon, 2) + " " + fixed(n.lat, 2) + " 0.0 0.0\n";
      write_file(name, f);
    }
  });
  EXPECT_GT(last_row_value(wind, "evaporated (%)"), last_row_value(calm, "evaporated (%)") + 1.0);

  const auto waves = centre(run_edited([] { wave_node_lists(order::shuffled); }));
  const auto flat = centre(run_edited([] { wave_node_lists(order::shuffled, 0.0); }));
  EXPECT_GT(std::hypot(waves.first - flat.first, waves.second - flat.second), 0.01) << "the waves act as none";
}

TEST(RealLayouts, CommasBetweenValuesAndExtraColumnsReadAsTheShippedFiles) {
  const auto reference = run_edited({});
  ASSERT_FALSE(reference.empty());
  std::string err;
  // "8.0,190.0": the comma separates the two values.
  EXPECT_TRUE(run_edited(
                  [] {
                    std::string s;
                    for (const auto& r : series("lstwinds.pre")) s += fixed(r[0], 1) + "," + fixed(r[1], 1) + "\n";
                    write_file("lstwinds.pre", s);
                  },
                  &err) == reference);
  EXPECT_EQ(err, "");
  // A pressure column left by another tool: read as before, warned once.
  EXPECT_TRUE(run_edited(
                  [] {
                    std::string s;
                    for (const auto& r : series("lstwinds.pre")) s += fixed(r[0], 1) + " " + fixed(r[1], 1) + " 1013.0\n";
                    write_file("lstwinds.pre", s);
                  },
                  &err) == reference);
  EXPECT_EQ(err,
            "orvel: warning: lstwinds.pre:1: the line holds 3 values, but its record takes 2: the values beyond the "
            "first 2 are not read (said once for this file; a file written for another tool may carry extra "
            "columns)\n");
  // The same in the current node list.
  EXPECT_TRUE(run_edited(
                  [] {
                    std::string s;
                    for (const auto& n : current_nodes()) s += n.lon + " " + n.lat + " " + n.u + " " + n.v + " 0.0 7\n";
                    write_file("currents_poleward.txt", s);
                  },
                  &err) == reference);
  EXPECT_NE(err.find("currents_poleward.txt:1: the line holds 6 values, but its record takes 5"), std::string::npos)
      << err;
}

// A slip and what the refusal says: the start of the error line (file and
// line) and a piece of its message.
struct slip {
  const char* what;
  std::function<void()> edit;
  const char* where;
  const char* says;
};

// The correct input beside the slips: the example as shipped runs.
void expect_shipped_example_runs() {
  temp_dir dir;
  copy_example();
  const auto r = run_orvel(dir.path(), key);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
}

void expect_refused(const slip& s) {
  SCOPED_TRACE(s.what);
  temp_dir dir;
  copy_example();
  s.edit();
  const std::vector<std::string> before = dir.files();
  const auto r = run_orvel(dir.path(), key);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_EQ(r.err.rfind(std::string("orvel: error: ") + s.where, 0), 0u) << r.err;
  EXPECT_NE(r.err.find(s.says), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_EQ(dir.files(), before) << "something was written";
}

void edit_current(const std::function<void(std::vector<node>&)>& change) {
  auto n = current_nodes();
  change(n);
  write_file("currents_poleward.txt", joint_file(n));
}

std::string shifted(const std::string& lon, double by) { return fixed(std::stod(lon) + by, 2); }

TEST(RealLayouts, NodeListsThatAreNotOneRegularGridAreRefused) {
  const slip slips[] = {
      {"a node given twice", [] { edit_current([](auto& n) { n[5] = n[4]; }); }, "currents_poleward.txt:6: ",
       "the node at longitude -9.6, latitude 42.9 is given a second time (first on line 5)"},
      {"a node off the grid", [] { edit_current([](auto& n) { n[7].lon = "-9.575"; }); }, "currents_poleward.txt:8: ",
       "the node at longitude -9.575, latitude 43.05 does not fall on a node of the regular grid"},
      {"a grid node given by no line", [] { edit_current([](auto& n) { n[3].lon = "-9.65"; }); },
       "currents_poleward.txt:0: ", "no line gives the grid node at longitude -9.65, latitude 42.7"},
      {"a wind node given twice",
       [] {
         wind_node_lists(order::shuffled);
         auto l = split_lines(read_file("wind0.txt"));
         l[9] = l[3];
         write_file("wind0.txt", join_lines(l));
       },
       "wind0.txt:10: ", "is given a second time (first on line 4)"},
  };
  expect_shipped_example_runs();
  for (const auto& s : slips) expect_refused(s);
}

TEST(RealLayouts, FieldsCoastsAndSpillsThatMissTheGridAreRefused) {
  const slip slips[] = {
      {"current longitudes 0 to 360",
       [] { edit_current([](auto& n) { for (auto& x : n) x.lon = shifted(x.lon, 360.0); }); },
       "currents_poleward.txt:0: ", "the longitudes run from 0 to 360 degrees east; give those west of Greenwich as negative"},
      {"current longitude and latitude swapped",
       [] { edit_current([](auto& n) { for (auto& x : n) std::swap(x.lon, x.lat); }); }, "currents_poleward.txt:0: ",
       "longitude and latitude seem swapped"},
      {"current shifted by 20 degrees",
       [] { edit_current([](auto& n) { for (auto& x : n) x.lon = shifted(x.lon, 20.0); }); }, "currents_poleward.txt:0: ",
       "the current field covers longitudes 10.4 to 11.3, latitudes 42.7 to 43.4, the model grid longitudes -9.6 to "
       "-8.7, latitudes 42.7 to 43.4: it covers no water node"},
      {"wind field outside the grid", [] { wind_node_lists(order::lon_outer, 20.0); }, "wind0.txt:0: ",
       "the wind field covers longitudes 10.3 to 11.4"},
      {"coastline with longitude and latitude swapped",
       [] {
         std::string s;
         for (const auto& l : split_lines(read_file("costa.dat"))) {
           std::istringstream in(l);
           std::string a, b;
           if (in >> a >> b) s += b + " " + a + "\n";
         }
         write_file("costa.dat", s);
       },
       "./costa.dat:0: ", "longitude and latitude seem swapped"},
      {"spill outside the grid",
       [] { replace_text("MORT.cfg", " -9.36 42.97 ", " -5.36 42.97 "); }, "MORT.cfg:29: ",
       "the release of spill line 1 at longitude -5.36, latitude 42.97 lies wholly outside the model grid"},
  };
  expect_shipped_example_runs();
  for (const auto& s : slips) expect_refused(s);
}

TEST(RealLayouts, DecimalCommasAndValuesLeftOverAreRefused) {
  auto depth_rows = [] {
    std::vector<std::string> rows;
    for (const auto& l : split_lines(read_file("depths.txt")))
      if (l.find_first_not_of(' ') != std::string::npos) rows.push_back(l);
    return rows;
  };
  const slip slips[] = {
      {"wind series with decimal commas",
       [] {
         std::string s;
         for (const auto& r : series("lstwinds.pre")) s += fixed(r[0], 1) + " " + fixed(r[1], 1) + "\n";
         std::replace(s.begin(), s.end(), '.', ',');
         write_file("lstwinds.pre", s);
       },
       "lstwinds.pre:1: ", "the line holds 4 values, but its record takes 2: is the comma the decimal mark?"},
      {"current node list with decimal commas",
       [] {
         edit_current([](auto& n) {
           for (auto& x : n) std::replace(x.v.begin(), x.v.end(), '.', ',');
         });
       },
       "currents_poleward.txt:1: ", "is the comma the decimal mark?"},
      {"depths with decimal commas",
       [&] {
         std::string s = read_file("depths.txt");
         std::replace(s.begin(), s.end(), '.', ',');
         write_file("depths.txt", s);
       },
       "depths.txt:1: ", "row 1 of the depths holds 91 values, but this line holds 91 more after its last one: is the comma"},
      {"depths with a row too many",
       [&] {
         auto rows = depth_rows();
         rows.insert(rows.begin(), rows.front());
         write_file("depths.txt", join_lines(rows));
       },
       "depths.txt:72: ", "values after the last of the grid's 71 rows of depths"},
      {"depths with a value too many on a row",
       [&] {
         auto rows = depth_rows();
         rows[10] += " 12.0";
         write_file("depths.txt", join_lines(rows));
       },
       "depths.txt:11: ", "row 11 of the depths holds 91 values, but this line holds 1 more"},
      {"a depth that is not a number",
       [&] {
         auto rows = depth_rows();
         rows[20].replace(0, rows[20].find(' ', 1), "nan");
         write_file("depths.txt", join_lines(rows));
       },
       "depths.txt:21: ", "finite"},
      {"spill line with decimal commas",
       [] { replace_text("MORT.cfg", " 900.0 15.0 200.0 15.0 ", " 900,0 15,0 200,0 15,0 "); }, "MORT.cfg:29: ",
       "spill line 1 holds 32 values, but a spill line takes 28: is the comma the decimal mark?"},
  };
  expect_shipped_example_runs();
  for (const auto& s : slips) expect_refused(s);
}

TEST(RealLayouts, NoWaterAndMistypedScalesAreRefused) {
  const slip slips[] = {
      {"depths as elevations with land at 0",
       [] {
         std::string out;
         for (const auto& l : split_lines(read_file("depths.txt"))) {
           std::istringstream in(l);
           double d = 0.0;
           std::string row;
           while (in >> d) row += (d > 0.0 ? fixed(-d, 1) : std::string("0")) + " ";
           out += row + "\n";
         }
         write_file("depths.txt", out);
       },
       "depths.txt:0: ", "no node of the model grid holds water"},
      {"current interval in seconds", [] { replace_line("MORT.cfg", "6 9 0", "21600 9 0"); }, "MORT.cfg:",
       "the horizon of 24 h (simulationtimehorizon) is shorter than the current record interval deltat_currents of "
       "21600 h: the run would cover 0 h"},
      {"mean latitude 0",
       [] { replace_line("MORT.cfg", "-9.6 42.7 0.01 0.01 0.0 91 71 1 43.05", "-9.6 42.7 0.01 0.01 0.0 91 71 1 0"); },
       "MORT.cfg:5: ", "latmean = 0: the mean latitude must lie within the grid's own latitudes, 42.7 to 43.4"},
      {"pulse interval below the model step",
       [] {
         auto l = split_lines(read_file("MORT.cfg"));
         std::size_t k = 0;
         while (l[k].rfind("1 0.0 300000.0", 0) != 0) ++k;
         l[k - 3] = "2";
         l[k - 2] = "1";
         l[k - 1] = "3 300";
         write_file("MORT.cfg", join_lines(l));
       },
       "MORT.cfg:28: ",
       "abort: DT_PULSOS (.cfg) has to be greater than or equal to DT_MODELO (.run): the pulse interval "
       "delta_vertidocontinuo = 300 s (record 18 of the scenario file) is shorter than the model time step deltat = "
       "600 s (record 10 of the run-control file)"},
  };
  expect_shipped_example_runs();
  for (const auto& s : slips) expect_refused(s);
}

TEST(RealLayouts, SlipsTheModelCannotTellFromRealCasesAreWarned) {
  {
    SCOPED_TRACE("a current field over part of the grid");
    std::string err;
    run_edited(
        [] {
          std::vector<node> half;
          for (const auto& n : current_nodes())
            if (std::stod(n.lon) <= -9.15) half.push_back(n);
          write_file("currents_poleward.txt", joint_file(half));
          replace_line("MORT.cfg", "285 285 285", "150 150 150");
        },
        &err);
    EXPECT_EQ(err,
              "orvel: warning: currents_poleward.txt: the current field covers longitudes -9.6 to -9.15, latitudes "
              "42.7 to 43.4 and leaves 608 of the 3768 water nodes of the model grid (longitudes -9.6 to -8.7, "
              "latitudes 42.7 to 43.4) outside it (16.1 %): the current there is taken as 0\n");
  }
  {
    SCOPED_TRACE("a wind interval in seconds");
    std::string err;
    run_edited([] { set_block("* wind:", {"2 0", "1", "10800 17"}); }, &err);
    EXPECT_EQ(err,
              "orvel: warning: the wind records come every 10800 h (deltat_wind), longer than the whole run of 24 h: "
              "the run uses 1 of the 17 records given (windfilesorlines_number); record intervals are in hours (was "
              "this one typed in seconds?)\n");
  }
  {
    SCOPED_TRACE("a spill on land");
    std::string err;
    const auto files = run_edited([] { replace_text("MORT.cfg", " -9.36 42.97 ", " -8.90 42.97 "); }, &err);
    EXPECT_EQ(err,
              "orvel: warning: every particle of spill 1 starts on land (release point at longitude -8.9, latitude "
              "42.97): it is beached from the start and nothing of it floats; check the release position, and that "
              "the depths are positive downward\n");
    // Nothing floats: every row's area and thickness are 0, the whole mass
    // beached.
    const auto rows = property_rows_of(files);
    ASSERT_EQ(rows.size(), 25u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      EXPECT_EQ(rows[r].at("area"), 0.0) << r;
      EXPECT_EQ(rows[r].at("thickness"), 0.0) << r;
      EXPECT_EQ(rows[r].at("beached (kg)"), 300000.0) << r;
    }
  }
}

TEST(RealLayouts, AChemicalReleasedOnLandIsWarnedAndHasNoSlickArea) {
  // The chemical scenario (land from 8.7 W east) with its release moved to
  // 8.3 W: nothing of it ever floats, so no row shows a slick.
  temp_dir dir;
  copy_scenario("chemical");
  replace_text("CHEM.cfg", "1 0.0 10000.0 -9.0 43.0 ", "1 0.0 10000.0 -8.3 43.0 ");
  const auto r = run_orvel(dir.path(), "CHEM");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "orvel: warning: every particle of spill 1 starts on land (release point at longitude -8.3, latitude 43): "
            "it is beached from the start and nothing of it floats; check the release position, and that the depths "
            "are positive downward\n");
  const auto rows = read_property_rows("CHEM_properties_001.txt");
  ASSERT_GT(rows.size(), 1u);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(rows[k].at("area"), 0.0) << k;
    EXPECT_EQ(rows[k].at("thickness"), 0.0) << k;
    EXPECT_EQ(rows[k].at("surface (kg)"), 0.0) << k;
  }
}

}  // namespace
}  // namespace orvel
