// A result file written through one buffer under a temporary name beside it
// and renamed to its real name only when complete: a run that fails part way
// never leaves a half-written result under the real name.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

class result_file {
 public:
  // Starts the file `name` (written as `name` + ".partial" until commit).
  explicit result_file(std::string name);
  // Without a commit the partial file is removed.
  ~result_file();
  result_file(const result_file&) = delete;
  result_file& operator=(const result_file&) = delete;

  // Appends text; line() appends one line and its line end.
  void write(std::string_view s) {
    buf_.append(s);
    if (buf_.size() >= flush_size) flush();
  }
  void line(std::string_view s) {
    buf_.append(s);
    buf_.push_back('\n');
    if (buf_.size() >= flush_size) flush();
  }
  // Writes the buffer out, closes the file and gives it its real name; an
  // existing file of that name is replaced.  Failure is an input_error
  // naming the file.
  void commit();

  const std::string& name() const { return name_; }

 private:
  static constexpr std::size_t flush_size = 1 << 20;
  void flush();

  std::string name_;
  std::string partial_;
  std::string buf_;
  void* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace orvel
