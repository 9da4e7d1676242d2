#include "common/result_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

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
  file_ = std::fopen(partial_.c_str(), "wb");
  if (!file_) throw input_error(name_, 0, std::string("cannot create the file: ") + std::strerror(errno));
  buf_.reserve(flush_size);
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
    throw input_error(name_, 0, std::string("cannot write the file: ") + std::strerror(errno));
  }
  buf_.clear();
}

void result_file::commit() {
  flush();
  auto* f = static_cast<std::FILE*>(file_);
  file_ = nullptr;
  if (std::fclose(f) != 0) {
    std::remove(partial_.c_str());
    throw input_error(name_, 0, std::string("cannot write the file: ") + std::strerror(errno));
  }
  if (std::rename(partial_.c_str(), name_.c_str()) != 0) {
    std::remove(partial_.c_str());
    throw input_error(name_, 0, std::string("cannot rename the finished file: ") + std::strerror(errno));
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
  if (!f) throw input_error(name_, 0, std::string("cannot create the file: ") + std::strerror(errno));
  started_ = true;
  const bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) != 0 || !written) {
    throw input_error(name_, 0, std::string("cannot write the file: ") + std::strerror(errno));
  }
}

void piecewise_file::commit() {
  if (!started_) append({});
  const std::string partial = partial_name(name_);
  if (std::rename(partial.c_str(), name_.c_str()) != 0) {
    throw input_error(name_, 0, std::string("cannot rename the finished file: ") + std::strerror(errno));
  }
  committed_ = true;
  if (journal) journal->push_back(name_);
}

}  // namespace orvel
