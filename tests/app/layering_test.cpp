// Dependencies run one way: every #include "dir/..." of a source file names
// a folder on the same floor or a lower one.  Floors, from the bottom:
// common; control; forcing, transport, fate, output; engines; app.  The
// geometry library stands apart and uses common only; nothing of the model
// includes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> floors = {
    {"common", 0}, {"control", 1}, {"forcing", 2}, {"transport", 2}, {"fate", 2},
    {"output", 2}, {"engines", 3}, {"app", 4},     {"geometry", 5},
};

// May a file of folder `from` include a header of folder `to`?
bool allowed(const std::string& from, const std::string& to) {
  if (from == to || to == "common") return true;
  if (from == "geometry" || to == "geometry") return false;
  return floors.at(to) <= floors.at(from);
}

// The folder of a quoted include line (`#include "dir/file.hpp"`), or "".
std::string included_folder(const std::string& line) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return "";
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return "";
  i = line.find_first_not_of(" \t", i + 7);
  if (i == std::string::npos || line[i] != '"') return "";
  const std::size_t slash = line.find('/', i + 1);
  if (slash == std::string::npos) return "";
  return line.substr(i + 1, slash - i - 1);
}

// Every quoted include of a project folder in the source files of `dir`,
// as "file: included".
std::vector<std::string> violations(const fs::path& top, const std::string& dir) {
  std::vector<std::string> bad;
  if (!fs::exists(top / dir)) return bad;
  for (const auto& e : fs::recursive_directory_iterator(top / dir)) {
    const auto ext = e.path().extension();
    if (ext != ".cpp" && ext != ".hpp") continue;
    std::ifstream in(e.path());
    std::string line;
    while (std::getline(in, line)) {
      const std::string to = included_folder(line);
      if (!floors.count(to)) continue;
      if (!allowed(dir, to)) bad.push_back(fs::relative(e.path(), top).string() + ": " + line);
    }
  }
  return bad;
}

TEST(Layering, IncludesRunDownTheFloorsOnly) {
  const fs::path top = ORVEL_SOURCE_DIR;
  for (const auto& [dir, floor] : floors) {
    const auto bad = violations(top, dir);
    EXPECT_TRUE(bad.empty()) << dir << " includes from a floor above it or from the geometry library:\n"
                             << [&] {
                                  std::string s;
                                  for (const auto& b : bad) s += "  " + b + "\n";
                                  return s;
                                }();
  }
}

TEST(Layering, TheRuleItselfRefusesUpwardIncludes) {
  EXPECT_TRUE(allowed("engines", "transport"));
  EXPECT_TRUE(allowed("transport", "forcing"));
  EXPECT_TRUE(allowed("app", "engines"));
  EXPECT_FALSE(allowed("control", "forcing"));
  EXPECT_FALSE(allowed("control", "engines"));
  EXPECT_FALSE(allowed("output", "engines"));
  EXPECT_FALSE(allowed("engines", "app"));
  EXPECT_FALSE(allowed("control", "geometry"));
  EXPECT_FALSE(allowed("geometry", "control"));
  EXPECT_TRUE(allowed("geometry", "common"));
}

}  // namespace
