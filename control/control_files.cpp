#include "control/control_files.hpp"

#include <cstdio>
#include <fstream>
#include <string_view>
#include <utility>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "control/input_places.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

namespace {

// The kept lines of control file `source` (comment lines dropped, each line
// padded to control_line_length) and their line numbers in the source.
struct kept_lines {
  std::vector<std::string> lines;
  std::vector<int64_t> numbers;
};

kept_lines read_without_comments(const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  if (!in) throw input_error(source, 0, "cannot open the control file (missing or unreadable)");
  kept_lines k;
  std::string line;
  int64_t n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (n == 1) drop_byte_order_mark(line);
    if (line.size() > control_line_length &&
        line.find_first_not_of(' ', control_line_length) != std::string::npos) {
      throw input_error(source, n,
                        "line longer than 256 characters: the text beyond the 256th character "
                        "would be lost");
    }
    if (!line.empty() && (line[0] == '/' || line[0] == '*')) continue;
    k.lines.push_back(fixlen(line, control_line_length));
    k.numbers.push_back(n);
  }
  if (in.bad()) throw input_error(source, n + 1, "read error");
  return k;
}

}  // namespace

std::vector<int64_t> strip_comments(const std::string& copy, const std::string& source) {
  // Read and check the whole source before the copy is created, so that a
  // bad source leaves nothing behind.
  kept_lines k = read_without_comments(source);
  std::ofstream out(copy, std::ios::binary | std::ios::trunc);
  for (const auto& l : k.lines) out << l << '\n';
  out.close();
  if (!out) {
    std::remove(copy.c_str());
    throw input_error(copy, 0, "cannot write the comment-stripped copy of " + source);
  }
  return std::move(k.numbers);
}

void linfm1(const std::string& copy, const std::string& source) {
  (void)strip_comments(std::string(trimmed(copy)), std::string(trimmed(source)));
}

control_file::control_file(const std::string& source) : source_(source) {
  // The reader holds the kept lines itself: no working copy is written, so
  // runs of different keys in one folder share no file.
  kept_lines k = read_without_comments(source);
  reader_ = std::make_unique<list_reader>(source, std::move(k.lines), std::move(k.numbers));
  reader_->keep_places();
}

control_file::~control_file() {
  try {
    note_places(source_, reader_->places());
  } catch (...) {
    // Only the messages of later checks lose their line numbers.
  }
}

void run(const std::string& clave) {
  const std::string source = clave + ".run";
  control_file cf(source);
  list_reader& r = cf.reader();
  auto& v = var_run;

  r.read({"simenvironment__sea_river"}, v.simenvironment__sea_river);
  v.simtype__operat_probabil = 1;
  v.simnumber__1_n = 1;
  r.read({"sim__2d_3d"}, v.sim__2d_3d);
  r.read({"blowout__y_n"}, v.blowout__y_n);
  r.read({"simdirection__fore_back"}, v.simdirection__fore_back);
  r.read({"datafolder__same_other"}, v.datafolder__same_other);
  r.read({"search_land__mask_maskandcoast"}, v.search_land__mask_maskandcoast);
  r.read({"searchcoastalgorithm__lr_hr"}, v.searchcoastalgorithm__lr_hr);
  r.read({"coast_polygonnumber"}, v.coast_polygonnumber);
  r.read({"particle_number", "particle_inipositions__y_n"}, v.particle_number,
         v.particle_inipositions__y_n);
  // Every spill needs particles, and every later step divides by this count.
  if (v.particle_number < 1) {
    throw input_error(source, r.record_line(),
                      "particle_number must be at least 1, found " + std::to_string(v.particle_number));
  }
  r.read({"deltat"}, v.deltat);
  // A step of zero or less would never reach the end of the simulation.
  if (!(v.deltat > 0.0f)) {
    throw input_error(source, r.record_line(), "deltat must be greater than 0 seconds");
  }
  r.read({"temporalinterpwind__y_n", "temporalinterpwaves__y_n", "temporalinterpcurr__y_n"},
         v.temporalinterpwind__y_n, v.temporalinterpwaves__y_n, v.temporalinterpcurr__y_n);
  r.read({"numericalmethod__euler_rungekut"}, v.numericalmethod__euler_rungekut);
  r.read({"firstoutput_time", "deltatoutput_parts", "deltatoutput_concs", "deltatoutput_properties"},
         v.firstoutput_time, v.deltatoutput_parts, v.deltatoutput_concs, v.deltatoutput_properties);
  v.firstoutput_time = v.firstoutput_time * 3600.0f;
  r.read({"outputparts__y_n", "outputconcs__y_n", "outputpropierties__y_n"}, v.outputparts__y_n,
         v.outputconcs__y_n, v.outputpropierties__y_n);
}

}  // namespace orvel
