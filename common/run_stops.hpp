// How a run stops before its end and what it leaves: the signals that ask
// it to stop (SIGTERM from a batch system, SIGINT from Ctrl-C, SIGHUP from a
// closed terminal), the line that says where it stopped, and what becomes of
// the rows of the tables that grow as the run goes (the property files).
//
// A stop signal is taken by a thread of its own.  The run sees it at the end
// of the step being computed, finishes the files of the last whole output
// time and ends with status 128 + the signal number and one line on
// standard error.  Should the step not end within a second (or a second
// signal come), the thread ends the run itself: it waits for the result
// files being written to be whole, removes the working files and the lock of
// the run, prints the line and ends the process with the same status.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "common/errors.hpp"

namespace orvel {

// Blocks the stop signals in the calling thread (and so in every thread it
// starts later) and starts the thread that takes them; ignores SIGXFSZ, so
// that a file-size limit makes a write fail with its message instead of
// killing the run.  Called once, by main, before any other thread exists.
void watch_stop_signals();

// The signal that asked the run to stop, 0 while none has.
int stop_signal();

// The lock file of the run, removed by a stop that does not unwind.
void note_lock_file(const std::string& path);

// The model time (h) the run has reached: the end of its last whole step.
void note_model_time(double hours);

// Held while the files of one output time are written: a stop that does not
// wait for the end of the step waits for them.
std::mutex& output_guard();

// A stop asked by a signal: status 128 + the signal number.
class signal_stop : public run_stop {
 public:
  signal_stop(const std::string& line, int signal) : run_stop(line, stream::err, 128 + signal) {}
};

// At the end of a step that reached `hours` of model time (or, with a
// negative time, before the first step): a pending stop signal stops the
// run here with its line.
void stop_if_asked(double hours);

// The conventional name of a stop signal ("SIGTERM").
std::string signal_name(int signal);

// Called in a catch block while a simulation unwinds: decides what becomes
// of the rows of the growing tables (end_rows(true) keeps them and returns
// the words the stop line adds; end_rows(false) removes them) and rethrows.
// A stop of the model (status 1), a stop signal and a file that cannot be
// written keep the whole rows of the times finished before the stop; a
// refused input and anything else take them back.
[[noreturn]] void end_rows_and_rethrow(const std::function<std::string(bool keep)>& end_rows);

}  // namespace orvel
