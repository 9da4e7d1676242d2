#include "common/run_stops.hpp"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <string>
#include <thread>

#include <pthread.h>
#include <unistd.h>

#include "common/result_file.hpp"

namespace orvel {
namespace {

std::atomic<int> asked{0};         // the stop signal, 0 while none
std::atomic<bool> unwinding{false};  // the run has begun its stop
std::atomic<double> model_hours{-1.0};

std::mutex lock_mutex;
std::string lock_path;

sigset_t stop_set() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

std::string where_text(double hours) {
  if (hours < 0.0) return "before the first model step";
  return "at " + value_text(hours, 9) + " h of model time";
}

// The stop that does not wait for the end of the step: once the files of
// the output time being written are whole, the working files and the lock
// go, the line is printed, and the process ends.
[[noreturn]] void stop_now(int signal) {
  output_guard().lock();  // never released: the process ends here
  remove_own_partials();
  {
    const std::lock_guard<std::mutex> hold(lock_mutex);
    if (!lock_path.empty()) ::unlink(lock_path.c_str());
  }
  const std::string line = "orvel: stopped by " + signal_name(signal) + " " + where_text(model_hours.load()) +
                           " (the step being computed did not end within a second): the result files of every "
                           "output time up to then are written, and the property files hold their whole rows up "
                           "to then\n";
  const char* p = line.data();
  std::size_t left = line.size();
  while (left > 0) {
    const ssize_t n = ::write(2, p, left);
    if (n <= 0) break;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  ::_exit(128 + signal);
}

void watch() {
  const sigset_t set = stop_set();
  int signal = 0;
  while (sigwait(&set, &signal) != 0) {
  }
  asked.store(signal);
  // A second to reach the end of the step, or a second signal to hurry.
  timespec wait{1, 0};
  const int again = sigtimedwait(&set, nullptr, &wait);
  if (again > 0 || !unwinding.load()) stop_now(signal);
  // The run is ending by itself; a second signal still hurries it.
  int next = 0;
  while (sigwait(&set, &next) != 0) {
  }
  stop_now(signal);
}

}  // namespace

void watch_stop_signals() {
  std::signal(SIGXFSZ, SIG_IGN);
  const sigset_t set = stop_set();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(watch).detach();
}

int stop_signal() { return asked.load(); }

void note_lock_file(const std::string& path) {
  const std::lock_guard<std::mutex> hold(lock_mutex);
  lock_path = path;
}

void note_model_time(double hours) { model_hours.store(hours); }

std::mutex& output_guard() {
  static std::mutex guard;
  return guard;
}

std::string signal_name(int signal) {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal " + std::to_string(signal);
  }
}

void stop_if_asked(double hours) {
  if (hours >= 0.0) note_model_time(hours);
  const int signal = asked.load();
  if (signal == 0) return;
  unwinding.store(true);
  std::string line = "orvel: stopped by " + signal_name(signal) + " " + where_text(hours);
  line += hours < 0.0 ? ": no result file of the run is written"
                      : ": the result files of every output time up to then are written";
  throw signal_stop(line, signal);
}

void end_rows_and_rethrow(const std::function<std::string(bool keep)>& end_rows) {
  try {
    throw;
  } catch (const signal_stop& e) {
    throw signal_stop(e.what() + end_rows(true), e.status() - 128);
  } catch (const run_stop& e) {
    // A stop of the model keeps the rows written before it, and its error
    // line says so (a stop text of the model's own stays as it is); any
    // other stop takes them back.
    if (e.status() != 1) {
      end_rows(false);
      throw;
    }
    const std::string kept = end_rows(true);
    if (kept.empty() || e.where() != run_stop::stream::err) throw;
    throw run_stop(e.what() + kept, e.where(), e.status());
  } catch (const environment_error& e) {
    throw environment_error(e.file(), e.message() + end_rows(true));
  } catch (...) {
    end_rows(false);
    throw;
  }
}

}  // namespace orvel
