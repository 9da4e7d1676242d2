// Control files: their comment-stripped lines, which every control-file
// reader works on, and the run-control file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/list_input.hpp"

namespace orvel {

// Length of a control-file line; the copy holds every kept line padded to it.
inline constexpr std::size_t control_line_length = 256;

// Copies the control file `source` to `copy` without its comment lines (those
// whose first character is "/" or "*").  A missing source is an input_error
// and nothing is written; so is a line with anything but blanks beyond its
// 256th character, whose values would otherwise be lost.
void linfm1(const std::string& copy, const std::string& source);

// The same copy, returning for each line of the copy its line number in the
// source, so that read errors can point at the line the user wrote.
std::vector<int64_t> strip_comments(const std::string& copy, const std::string& source);

// A control file opened for reading without its comment lines, held in
// memory (no working copy is written).  Errors name the source file and its
// line numbers; when the object goes away the line of every named value
// read is kept for the start-up checks (control/input_places.hpp).
class control_file {
 public:
  explicit control_file(const std::string& source);
  ~control_file();
  control_file(const control_file&) = delete;
  control_file& operator=(const control_file&) = delete;

  list_reader& reader() { return *reader_; }

 private:
  std::string source_;
  std::unique_ptr<list_reader> reader_;
};

// Reads the run-control file clave + ".run" into var_run.
void run(const std::string& clave);

}  // namespace orvel
