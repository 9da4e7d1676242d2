// Helpers for tests that work with files: a fresh temporary folder per test,
// whole-file reads and writes, and running the orvel executable.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace orvel::testing {

// A new empty folder, made the working directory while the object lives and
// removed with everything in it afterwards.
class temp_dir {
 public:
  temp_dir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orvel-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~temp_dir() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Names of the files in the folder, sorted.
  std::vector<std::string> files() const {
    std::vector<std::string> r;
    for (const auto& e : std::filesystem::directory_iterator(path_)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
  }

 private:
  std::filesystem::path path_;
  std::filesystem::path old_;
};

inline void write_file(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct run_result {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the orvel executable with `args` in folder `dir`.
inline run_result run_orvel(const std::filesystem::path& dir, const std::string& args) {
  const auto out = dir / ".stdout";
  const auto err = dir / ".stderr";
  const std::string cmd = "cd '" + dir.string() + "' && '" + std::string(ORVEL_BINARY) + "' " + args + " >'" +
                          out.string() + "' 2>'" + err.string() + "'";
  const int rc = std::system(cmd.c_str());
  run_result r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = read_file(out);
  r.err = read_file(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return r;
}

}  // namespace orvel::testing
