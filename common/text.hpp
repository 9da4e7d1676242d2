// Fixed-length texts: a std::string always holding exactly its declared
// number of characters, blank-padded on the right.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvel {

// s cut after n characters or padded with blanks up to n.
inline std::string fixlen(std::string_view s, std::size_t n) {
  std::string r(s.substr(0, n));
  r.resize(n, ' ');
  return r;
}

// n blanks: the starting value of a text variable of length n.
inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

// The text without its trailing blanks.
inline std::string_view trimmed(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

}  // namespace orvel
