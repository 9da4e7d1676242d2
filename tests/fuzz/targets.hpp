// What each fuzzing harness does with one input: it hands the bytes to a
// reader as a file (or as lines) and checks that the reader either accepts
// them or refuses them with an input_error or an explicit stop.  Anything
// else (another exception, a sanitizer report, a hang) is a finding.
//
// The targets write their files into the working directory: the harnesses
// and the replay test run them in a fresh temporary folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvel::fuzz {

// The free-format list reader: the first line of the input is a program of
// reads (i integer, f float, d double, t text, n three doubles, l a whole
// line, s a skipped line, '|' ends a record), run over the other lines until
// they are used up.
void list_input(const uint8_t* data, std::size_t size);

// The run-control reader on the input as "FUZZ.run".
void run_control(const uint8_t* data, std::size_t size);

// The scenario reader on the input as "FUZZ.cfg", after the run-control
// values of a 2-D forward run with 600 s steps.
void scenario(const uint8_t* data, std::size_t size);

// The wind field reader on the input as a field file: 30 nodes as a node
// list, then 5 x 6 nodes as U and V grid rows.
void wind_field(const uint8_t* data, std::size_t size);

// The coastline and polygon readers and the coast index build.  Lines "%%"
// split the input into "costa.dat" and up to four polygon files; without
// one, the whole input is both the coastline and polygon 1.  After the
// build, searches around the points read must agree with the linear scans.
void coast(const uint8_t* data, std::size_t size);

struct target {
  std::string_view name;
  void (*run)(const uint8_t*, std::size_t);
};

// Every target by name (the name of its harness and of its regression folder).
inline constexpr target targets[] = {
    {"list_input", list_input}, {"run_control", run_control}, {"scenario", scenario},
    {"wind_field", wind_field}, {"coast", coast},
};

}  // namespace orvel::fuzz
