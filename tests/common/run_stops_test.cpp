// Stopping a run by a signal when its step does not end within a second:
// the run is ended from the thread that took the signal, once the files
// being written are whole, without its working files and lock.  Each case
// runs in a child process, which the stop ends.
#include "common/run_stops.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/result_file.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using strings = std::vector<std::string>;

struct child_end {
  int status = -1;  // exit status, -1 when not exited
  std::string err;
  double seconds = 0;
};

// Runs `body` in a child process that watches the stop signals, with its
// standard error in .stderr.
template <class Body>
child_end in_child(Body body) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int err = ::open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(err, 2);
    watch_stop_signals();
    body();
    ::_exit(0);
  }
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0) {
  }
  child_end e;
  e.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  e.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  e.err = testing::read_file(".stderr");
  std::remove(".stderr");
  return e;
}

TEST(RunStops, AStepThatDoesNotEndIsStoppedAfterASecondWithoutItsWorkingFiles) {
  // The child stands in a step that never ends, with a working file and
  // its lock; SIGTERM ends it a second later with 143, the working file and
  // the lock removed, another key's working file and the results kept.
  testing::temp_dir dir;
  const child_end e = in_child([] {
    set_partial_tag("TEST." + std::to_string(::getpid()));
    testing::write_file(partial_name("TEST_particles_001500.txt"), "cut ro");
    testing::write_file("TEST_particles_001440.txt", "whole\n");
    testing::write_file("TEST.lock", "");
    testing::write_file("x.txt.OTHR.1.partial", "");
    note_lock_file("TEST.lock");
    note_model_time(24.5);
    ::kill(::getpid(), SIGTERM);
    for (;;) ::pause();
  });
  EXPECT_EQ(e.status, 128 + SIGTERM);
  EXPECT_GE(e.seconds, 0.9);
  EXPECT_EQ(e.err,
            "orvel: stopped by SIGTERM at 24.5 h of model time (the step being computed did not end within a "
            "second): the result files of every output time up to then are written, and the property files hold "
            "their whole rows up to then\n");
  EXPECT_EQ(dir.files(), (strings{"TEST_particles_001440.txt", "x.txt.OTHR.1.partial"}));
}

TEST(RunStops, AStopThatDoesNotWaitForTheStepWaitsForTheFilesBeingWritten) {
  // The child writes the files of an output time for 1.5 s (holding the
  // output guard) after SIGINT, then computes on: the stop comes once the
  // file is whole under its name.
  testing::temp_dir dir;
  const child_end e = in_child([] {
    set_partial_tag("TEST." + std::to_string(::getpid()));
    {
      std::lock_guard<std::mutex> whole(output_guard());
      result_file f("TEST_grid_001_000060.txt");
      f.line("rows");
      ::kill(::getpid(), SIGINT);
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      f.commit();
    }
    for (;;) ::pause();
  });
  EXPECT_EQ(e.status, 128 + SIGINT);
  EXPECT_GE(e.seconds, 1.4);
  EXPECT_EQ(e.err.rfind("orvel: stopped by SIGINT before the first model step (the step", 0), 0u) << e.err;
  EXPECT_EQ(dir.files(), strings{"TEST_grid_001_000060.txt"});
  EXPECT_EQ(testing::read_file(dir.path() / "TEST_grid_001_000060.txt"), "rows\n");
}

TEST(RunStops, TheRunSeesTheSignalAtTheEndOfItsStep) {
  // Within the second, the step's end stops the run with its line and the
  // signal's status; no signal, no stop.
  testing::temp_dir dir;
  const child_end e = in_child([] {
    stop_if_asked(1.0);
    ::kill(::getpid(), SIGHUP);
    while (stop_signal() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    try {
      stop_if_asked(2.5);
    } catch (const signal_stop& s) {
      std::fprintf(stderr, "%s|%d\n", s.what(), s.status());
      std::fflush(stderr);
      ::_exit(s.status());
    }
  });
  EXPECT_EQ(e.status, 128 + SIGHUP);
  EXPECT_EQ(e.err,
            "orvel: stopped by SIGHUP at 2.5 h of model time: the result files of every output time up to then are "
            "written|129\n");
}

}  // namespace
}  // namespace orvel
