#include "common/result_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "common/errors.hpp"

namespace orvel {
namespace {

// The tag of this process's partial names, and the journal in force.
std::string& partial_tag() {
  static std::string tag;
  return tag;
}
std::vector<std::string>* journal = nullptr;

}  // namespace

void set_partial_tag(std::string tag) { partial_tag() = std::move(tag); }

std::string partial_name(const std::string& name) {
  return partial_tag().empty() ? name + ".partial" : name + "." + partial_tag() + ".partial";
}

commit_journal::commit_journal() : outer_(journal) { journal = &names_; }

commit_journal::~commit_journal() {
  journal = outer_;
  // What this journal kept belongs to the outer one too.
  if (outer_) outer_->insert(outer_->end(), names_.begin(), names_.end());
}

void commit_journal::undo() {
  for (const auto& n : names_) std::remove(n.c_str());
  names_.clear();
}

result_file::result_file(std::string name) : name_(std::move(name)), partial_(partial_name(name_)) {
  // The buffer first: memory that runs out leaves no file behind.
  buf_.reserve(flush_size);
  file_ = std::fopen(partial_.c_str(), "wb");
  if (!file_) throw environment_error(name_, std::string("cannot create the file: ") + std::strerror(errno));
}

result_file::~result_file() {
  if (!committed_) {
    if (file_) std::fclose(static_cast<std::FILE*>(file_));
    std::remove(partial_.c_str());
  }
}

void result_file::flush() {
  if (buf_.empty()) return;
  auto* f = static_cast<std::FILE*>(file_);
  if (std::fwrite(buf_.data(), 1, buf_.size(), f) != buf_.size()) {
    throw environment_error(name_, std::string("cannot write the file: ") + std::strerror(errno));
  }
  buf_.clear();
}

void result_file::commit() {
  flush();
  auto* f = static_cast<std::FILE*>(file_);
  file_ = nullptr;
  if (std::fclose(f) != 0) {
    std::remove(partial_.c_str());
    throw environment_error(name_, std::string("cannot write the file: ") + std::strerror(errno));
  }
  if (std::rename(partial_.c_str(), name_.c_str()) != 0) {
    std::remove(partial_.c_str());
    throw environment_error(name_, std::string("cannot rename the finished file: ") + std::strerror(errno));
  }
  committed_ = true;
  if (journal) journal->push_back(name_);
}

piecewise_file::piecewise_file(std::string name) : name_(std::move(name)) {}

piecewise_file::~piecewise_file() {
  if (started_ && !committed_) std::remove(partial_name(name_).c_str());
}

void piecewise_file::append(std::string_view text) {
  const std::string partial = partial_name(name_);
  std::FILE* f = std::fopen(partial.c_str(), started_ ? "ab" : "wb");
  if (!f) throw environment_error(name_, std::string("cannot create the file: ") + std::strerror(errno));
  started_ = true;
  const bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) != 0 || !written) {
    throw environment_error(name_, std::string("cannot write the file: ") + std::strerror(errno));
  }
}

void piecewise_file::commit() {
  if (!started_) append({});
  const std::string partial = partial_name(name_);
  if (std::rename(partial.c_str(), name_.c_str()) != 0) {
    throw environment_error(name_, std::string("cannot rename the finished file: ") + std::strerror(errno));
  }
  committed_ = true;
  if (journal) journal->push_back(name_);
}

row_file::row_file(std::string name) : name_(std::move(name)) {}

void row_file::append(std::string_view text) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (started_ ? O_APPEND : O_TRUNC);
  const int fd = ::open(name_.c_str(), flags, 0644);
  if (fd < 0) throw environment_error(name_, std::string("cannot create the file: ") + std::strerror(errno));
  started_ = true;
  const off_t before = ::lseek(fd, 0, SEEK_END);
  std::size_t done = 0;
  int failure = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      failure = n < 0 ? errno : ENOSPC;
      break;
    }
  }
  // A block written in part is taken back, so that the file holds whole rows.
  if (failure != 0 && before >= 0) {
    while (::ftruncate(fd, before) != 0 && errno == EINTR) {
    }
  }
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) throw environment_error(name_, std::string("cannot write the file: ") + std::strerror(failure));
  size_ = static_cast<std::uint64_t>(before >= 0 ? before : 0) + text.size();
}

void row_file::take_back(std::uint64_t size) {
  if (!started_ || size >= size_) return;
  if (::truncate(name_.c_str(), static_cast<off_t>(size)) == 0) size_ = size;
}

void row_file::remove() {
  if (started_) std::remove(name_.c_str());
  started_ = false;
}

namespace {

// The process number of a working file of key `key`, or -1 when `name` is
// not one: NAME.KEY.PID.partial.
long partial_process(const std::string& name, const std::string& key) {
  static const std::string suffix = ".partial";
  if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return -1;
  const std::string stem = name.substr(0, name.size() - suffix.size());
  const std::size_t dot = stem.rfind('.');
  if (dot == std::string::npos || dot + 1 == stem.size()) return -1;
  long pid = 0;
  for (std::size_t i = dot + 1; i < stem.size(); ++i) {
    if (stem[i] < '0' || stem[i] > '9' || pid > 100000000) return -1;
    pid = pid * 10 + (stem[i] - '0');
  }
  const std::string tag = "." + key;
  if (dot < tag.size() || stem.compare(dot - tag.size(), tag.size(), tag) != 0) return -1;
  return pid;
}

}  // namespace

stale_files remove_stale_partials(const std::string& clave) {
  stale_files found;
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".", ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  for (const auto& n : names) {
    const long pid = partial_process(n, clave);
    if (pid < 0 || partial_tag() == clave + "." + std::to_string(pid)) continue;
    std::error_code type_ec;
    if (!std::filesystem::is_regular_file(n, type_ec)) continue;
    if (std::remove(n.c_str()) != 0) continue;
    ++found.removed;
    if (std::find(found.processes.begin(), found.processes.end(), pid) == found.processes.end()) {
      found.processes.push_back(pid);
    }
  }
  return found;
}

void remove_own_partials() {
  const std::string& tag = partial_tag();
  if (tag.empty()) return;
  const std::string suffix = "." + tag + ".partial";
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".", ec)) {
    const std::string n = e.path().filename().string();
    if (n.size() > suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0) names.push_back(n);
  }
  for (const auto& n : names) std::remove(n.c_str());
}

}  // namespace orvel
