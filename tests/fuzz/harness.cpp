// A libFuzzer harness around one target of targets.hpp, chosen at build time
// by ORVEL_FUZZ_TARGET.  It works in a temporary folder of its own, since
// the targets write their files into the working directory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "tests/fuzz/targets.hpp"

namespace {

std::string folder;

void remove_folder() {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = (std::filesystem::temp_directory_path() / "orvel-fuzz-XXXXXX").string();
  if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0) {
    std::perror("orvel fuzz: temporary folder");
    std::exit(1);
  }
  std::atexit(remove_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  orvel::fuzz::ORVEL_FUZZ_TARGET(data, size);
  return 0;
}
