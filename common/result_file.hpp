// A result file written through one buffer under a temporary name beside it
// and renamed to its real name only when complete: a run that fails part way
// never leaves a half-written result under the real name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvel {

class result_file {
 public:
  // Starts the file `name` (written under partial_name(name) until commit).
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

// A result file written in pieces under its partial name and closed between
// pieces, for the many files of a run that grow together (one per pulse of a
// continuous release), where one open file and buffer each would not do.
// Renamed to its real name by commit(); without a commit the partial file is
// removed.
class piecewise_file {
 public:
  explicit piecewise_file(std::string name);
  ~piecewise_file();
  piecewise_file(const piecewise_file&) = delete;
  piecewise_file& operator=(const piecewise_file&) = delete;

  // Appends text to the partial file (created by the first piece).  Failure
  // is an input_error naming the file.
  void append(std::string_view text);
  // Gives the file its real name (an empty file when nothing was appended).
  void commit();
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  bool started_ = false;
  bool committed_ = false;
};

// Partial names carry the tag of the process (the run key), so that runs of
// different keys in one folder never write the same partial file:
// `name` + "." + tag + ".partial", or `name` + ".partial" without a tag.
void set_partial_tag(std::string tag);
std::string partial_name(const std::string& name);

// The names of the result files committed while a journal lives; undo()
// removes them.  Used where a group of files must appear all or not at all.
class commit_journal {
 public:
  commit_journal();
  ~commit_journal();
  commit_journal(const commit_journal&) = delete;
  commit_journal& operator=(const commit_journal&) = delete;
  void undo();

 private:
  std::vector<std::string> names_;
  std::vector<std::string>* outer_;
};

}  // namespace orvel
