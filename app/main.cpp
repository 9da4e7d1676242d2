// orvel: oil and HNS spill forecast.  Usage: orvel KEY
#include <cstring>
#include <exception>
#include <iostream>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "common/errors.hpp"
#include "common/run_stops.hpp"
#include "app/startup.hpp"

namespace {

void usage(std::ostream& out) {
  out << "usage: orvel KEY\n"
         "  KEY names the run: the control files KEY.run and KEY.cfg in the working directory\n"
         "  (the first four characters of KEY, blanks included), and every result file begins with it.\n";
}

// The model sizes several per-particle work arrays afresh on every step.
// By default the C library maps large blocks for each request and unmaps
// them on release, and gives the top of its heap back to the system: every
// step then changes the address space, which makes the kernel flush the
// address translations of every core that runs one of the model's threads
// (very costly on virtual machines, where two threads ran no faster than
// one).  Take every block from the heap and keep what is freed: the next
// step reuses the same memory, the address space stays still.
void keep_freed_memory() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  keep_freed_memory();
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    usage(std::cout);
    return 0;
  }
  if (argc != 2) {
    usage(std::cerr);
    return 2;
  }
  // Before any thread exists: SIGTERM, SIGINT and SIGHUP stop the run at
  // the end of its step, and a file-size limit is a write error.
  orvel::watch_stop_signals();
  try {
    orvel::main_program(orvel::run_key(argc, argv));
  } catch (const orvel::environment_error& e) {
    std::cout.flush();
    std::cerr << "orvel: error: " << e.what() << '\n';
    return orvel::environment_status;
  } catch (const orvel::input_error& e) {
    if (!e.stop_text().empty()) std::cout << e.stop_text() << '\n';
    std::cout.flush();
    std::cerr << "orvel: error: " << e.what() << '\n';
    return 2;
  } catch (const orvel::run_stop& e) {
    std::cout.flush();
    (e.where() == orvel::run_stop::stream::out ? std::cout : std::cerr) << e.what() << '\n';
    std::cout.flush();
    return e.status();
  } catch (const std::bad_alloc&) {
    std::cout.flush();
    std::cerr << "orvel: error: out of memory: the run needs more memory than this machine can give it\n";
    return orvel::environment_status;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "orvel: error: " << e.what() << '\n';
    return 1;
  }
  std::cout.flush();
  return 0;
}
