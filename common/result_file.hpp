// A result file written through one buffer under a temporary name beside it
// and renamed to its real name only when complete: a run that fails part way
// never leaves a half-written result under the real name.
#pragma once

#include <cstdint>
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
// pieces, for many files that grow together where one open file and buffer
// each would not do, and that must appear only once complete (the property
// files, which a reader follows as they grow, are row_files).  Renamed to its
// real name by commit(); without a commit the partial file is removed.
class piecewise_file {
 public:
  explicit piecewise_file(std::string name);
  ~piecewise_file();
  piecewise_file(const piecewise_file&) = delete;
  piecewise_file& operator=(const piecewise_file&) = delete;

  // Appends text to the partial file (created by the first piece).  Failure
  // is an environment_error naming the file.
  void append(std::string_view text);
  // Gives the file its real name (an empty file when nothing was appended).
  void commit();
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  bool started_ = false;
  bool committed_ = false;
};

// A result file that grows under its real name by whole blocks of rows, for
// the tables of a run (property files) that a reader may follow while the
// run goes on and that a stopped run keeps up to its last finished time.
// Every block is one write at the end of the file; a block that cannot be
// written whole is taken back (the file is cut back to its length before
// it) and the failure is an environment_error naming the file, so the file
// only ever holds whole rows.  Only a kill in the middle of a write can
// leave a piece of a block: a last line without its line end, which is not
// a row.  The file is opened for each block and closed after it (a run
// writes one per pulse of a continuous release, too many to keep open).
class row_file {
 public:
  // The file `name`, made (or emptied) by the first block.
  explicit row_file(std::string name);
  row_file(const row_file&) = delete;
  row_file& operator=(const row_file&) = delete;

  // Appends `text` (whole rows) in one write.
  void append(std::string_view text);
  // Cuts the file back to `size` bytes (a length it had after a block).
  void take_back(std::uint64_t size);
  // Removes the file, if a block made it.
  void remove();
  bool started() const { return started_; }
  // The bytes of the blocks written.
  std::uint64_t size() const { return size_; }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  bool started_ = false;
  std::uint64_t size_ = 0;
};

// Removes the working files (partial names) of the run key `clave` that no
// running process owns: the caller holds the lock of the key, so every
// working file of the key left in the folder belongs to a run that ended
// without its clean-up.  Returns the process numbers found in their names
// and the number of files removed.
struct stale_files {
  std::vector<long> processes;
  int32_t removed = 0;
};
stale_files remove_stale_partials(const std::string& clave);

// Removes every working file of this process (partial names with its tag):
// used when the run is stopped without unwinding.
void remove_own_partials();

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
