#include "app/run_folder.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/errors.hpp"
#include "common/result_file.hpp"
#include "common/run_stops.hpp"
#include "common/text.hpp"

namespace orvel {
namespace {

// The process number written in a lock file, or -1.
long lock_owner(int fd) {
  char text[32] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  if (n <= 0) return -1;
  long pid = 0;
  for (ssize_t i = 0; i < n && text[i] != '\n'; ++i) {
    if (text[i] < '0' || text[i] > '9' || pid > 100000000) return -1;
    pid = pid * 10 + (text[i] - '0');
  }
  return pid;
}

// A digit field of a result name: digits, its first character possibly one
// past "9" (a number beyond the field's width).
bool digit_run(const std::string& s, std::size_t first, std::size_t last) {
  if (first >= last || s[first] < '0' || s[first] > '~') return false;
  for (std::size_t i = first + 1; i < last; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

// Whether `rest` is one of `fields` digit fields joined by "_".
bool digit_fields(const std::string& rest, int fields) {
  std::size_t at = 0;
  for (int f = 0; f < fields; ++f) {
    const std::size_t end = f + 1 < fields ? rest.find('_', at) : rest.size();
    if (end == std::string::npos || !digit_run(rest, at, end)) return false;
    at = end + 1;
  }
  return true;
}

}  // namespace

key_lock::key_lock(const std::string& clave, std::ostream& notes) : path_(clave + ".lock") {
  for (;;) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
      throw input_error(path_, 0, std::string("cannot create the lock file of the run key: ") + std::strerror(errno));
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      const int e = errno;
      ::close(fd_);
      if (e == EWOULDBLOCK) {
        throw input_error(path_, 0,
                          "another run of key \"" + clave +
                              "\" is running in this folder: two runs of one key would write the same files");
      }
      throw input_error(path_, 0, std::string("cannot lock the run key: ") + std::strerror(e));
    }
    // A run that ended between our open and our lock has removed the
    // file we hold: lock the file that stands under the name now.
    struct stat held {}, named {};
    if (::fstat(fd_, &held) == 0 && ::stat(path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      break;
    }
    ::close(fd_);
  }
  note_lock_file(path_);
  // The lock is ours: a process number in the file is that of a run of the
  // key that no longer runs, and so are the working files of the key.
  const long earlier = lock_owner(fd_);
  const std::string own = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, own.data(), own.size(), 0) != static_cast<ssize_t>(own.size())) {
    // The process number only serves the notes of a later run.
  }
  stale_files stale = remove_stale_partials(clave);
  if (earlier > 0 && std::find(stale.processes.begin(), stale.processes.end(), earlier) == stale.processes.end()) {
    stale.processes.insert(stale.processes.begin(), earlier);
  }
  if (stale.processes.empty()) return;
  std::string who;
  for (std::size_t i = 0; i < stale.processes.size(); ++i) {
    who += (i == 0 ? "" : i + 1 == stale.processes.size() ? " and " : ", ") + std::to_string(stale.processes[i]);
  }
  std::vector<std::string> left;
  if (earlier > 0) left.push_back("its lock file");
  if (stale.removed > 0) {
    left.push_back(std::to_string(stale.removed) + " working file" + (stale.removed == 1 ? "" : "s"));
  }
  if (left.empty()) return;
  const bool one = left.size() == 1 && (earlier > 0 || stale.removed == 1);
  notes << "orvel: note: a run of key \"" << clave << "\" (process " << who
        << ") ended without its clean-up and no longer runs: " << left[0] << (left.size() > 1 ? " and " + left[1] : "")
        << (one ? " is" : " are") << " removed\n";
}

key_lock::~key_lock() {
  note_lock_file("");
  ::unlink(path_.c_str());
  ::close(fd_);
}

bool result_of_key(const std::string& name, const std::string& clave) {
  const std::string key = fixlen(clave, 4);
  if (name.size() < key.size() + 4 || name.compare(0, key.size(), key) != 0) return false;
  if (name.compare(name.size() - 4, 4, ".txt") != 0) return false;
  const std::string body = name.substr(key.size(), name.size() - 4 - key.size());
  struct kind {
    const char* prefix;
    int fields;
  };
  // Longer prefixes first: "_grid_subspill_" before "_grid_".
  static const kind kinds[] = {{"_particles_", 1},  {"_particles_", 2}, {"_grid_subspill_", 2}, {"_grid_", 2},
                               {"_properties_subspill_", 1}, {"_properties_", 1}, {"_CF_subspill_", 1},
                               {"_CF_", 1}};
  for (const kind& k : kinds) {
    const std::string p = k.prefix;
    if (body.compare(0, p.size(), p) == 0 && digit_fields(body.substr(p.size()), k.fields)) return true;
  }
  return false;
}

int remove_earlier_results(const std::string& clave) {
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".", ec)) {
    std::error_code type_ec;
    const std::string n = e.path().filename().string();
    if (result_of_key(n, clave) && e.is_regular_file(type_ec)) names.push_back(n);
  }
  int removed = 0;
  for (const auto& n : names) {
    if (std::remove(n.c_str()) != 0) {
      throw environment_error(n, std::string("cannot remove the result of an earlier run of the key: ") +
                                     std::strerror(errno));
    }
    ++removed;
  }
  return removed;
}

}  // namespace orvel
