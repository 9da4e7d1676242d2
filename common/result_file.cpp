#include "common/result_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/errors.hpp"

namespace orvel {
result_file::result_file(std::string name) : name_(std::move(name)), partial_(name_ + ".partial") {
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
}

}  // namespace orvel
