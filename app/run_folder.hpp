// The run's hold on its folder: the lock of its key, the working files of a
// run of the key that ended without its clean-up, and the results of earlier
// runs of the key, removed before the run writes its first so that the
// folder never mixes two runs.
#pragma once

#include <iosfwd>
#include <string>

namespace orvel {

// The advisory lock of a run key in the working directory, held for the
// life of the run: a second run of the same key in the same folder is
// refused while the first one runs.  The lock is an flock on the file
// KEY.lock, which the operating system releases when the process ends,
// however it ends; the file holds the process number of the run and is
// removed when the run ends.  Taking the lock removes what a run of the key
// that ended without its clean-up left (its lock file and its working
// files) and says so on `notes`.
class key_lock {
 public:
  key_lock(const std::string& clave, std::ostream& notes);
  ~key_lock();
  key_lock(const key_lock&) = delete;
  key_lock& operator=(const key_lock&) = delete;

 private:
  std::string path_;
  int fd_ = -1;
};

// Whether `name` is a result file name of the key `clave`: a particle,
// grid, property or concentration-factor file.
bool result_of_key(const std::string& name, const std::string& clave);

// Removes the result files of the key `clave` that earlier runs left in the
// working directory; returns how many.
int remove_earlier_results(const std::string& clave);

}  // namespace orvel
