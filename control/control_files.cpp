#include "control/control_files.hpp"

#include <cstdio>
#include <fstream>
#include <string_view>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

std::vector<int64_t> strip_comments(const std::string& copy, const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  if (!in) throw input_error(source, 0, "cannot open the control file (missing or unreadable)");
  // Read and check the whole source before the copy is created, so that a
  // bad source leaves nothing behind.
  std::vector<std::string> kept;
  std::vector<int64_t> numbers;
  std::string line;
  int64_t n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > control_line_length &&
        line.find_first_not_of(' ', control_line_length) != std::string::npos) {
      throw input_error(source, n,
                        "line longer than 256 characters: the text beyond the 256th character "
                        "would be lost");
    }
    if (!line.empty() && (line[0] == '/' || line[0] == '*')) continue;
    kept.push_back(fixlen(line, control_line_length));
    numbers.push_back(n);
  }
  if (in.bad()) throw input_error(source, n + 1, "read error");

  std::ofstream out(copy, std::ios::binary | std::ios::trunc);
  for (const auto& k : kept) out << k << '\n';
  out.close();
  if (!out) {
    std::remove(copy.c_str());
    throw input_error(copy, 0, "cannot write the comment-stripped copy of " + source);
  }
  return numbers;
}

void linfm1(const std::string& copy, const std::string& source) {
  (void)strip_comments(std::string(trimmed(copy)), std::string(trimmed(source)));
}

control_file::control_file(const std::string& copy, const std::string& source) : copy_(copy) {
  std::vector<int64_t> numbers = strip_comments(copy, source);
  try {
    list_reader from_copy(copy);
    std::vector<std::string> lines;
    while (!from_copy.at_end()) lines.push_back(from_copy.read_line("a line"));
    reader_ = std::make_unique<list_reader>(source, std::move(lines), std::move(numbers));
  } catch (...) {
    std::remove(copy_.c_str());
    throw;
  }
}

control_file::~control_file() { std::remove(copy_.c_str()); }

void run(const std::string& clave) {
  const std::string source = clave + ".run";
  control_file cf("run.tmp", source);
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
