#include "common/list_input.hpp"

#include <sstream>

#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>
#include <utility>

#include "common/errors.hpp"

namespace orvel {
namespace {

bool is_separator(char c) { return c == ' ' || c == ',' || c == '\t' || c == '\r'; }

std::string quote(const std::string& s) {
  const std::size_t max = 40;
  if (s.size() > max) return "\"" + s.substr(0, max) + "...\"";
  return "\"" + s + "\"";
}

// Fortran writes exponents with D as well as E, and allows a leading plus.
std::string normalise_real(std::string_view s) {
  std::string t(s);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  for (char& c : t)
    if (c == 'd' || c == 'D') c = 'e';
  return t;
}

template <typename F>
bool parse_real(std::string_view s, F& v) {
  const std::string t = normalise_real(s);
  if (t.empty() || t[0] == '+' || t[0] == ' ') return false;
  F x{};
  const char* first = t.data();
  const char* last = t.data() + t.size();
  auto [p, ec] = std::from_chars(first, last, x, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Magnitudes beyond the type's range are no value of it; underflow to a
    // denormal or zero is kept as from_chars rounds it.
    return false;
  }
  if (ec != std::errc() || p != last) return false;
  v = x;
  return true;
}

}  // namespace

void drop_byte_order_mark(std::string& first_line) {
  if (first_line.rfind("\xEF\xBB\xBF", 0) == 0) first_line.erase(0, 3);
}

bool parse_int32(std::string_view s, int32_t& v) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty() || s[0] == '+') return false;
  int32_t x = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
  if (ec != std::errc() || p != s.data() + s.size()) return false;
  v = x;
  return true;
}

bool parse_float(std::string_view s, float& v) { return parse_real(s, v); }
bool parse_double(std::string_view s, double& v) { return parse_real(s, v); }

list_reader::list_reader(const std::string& path) : name_(path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw input_error(path, 0, "cannot open the file (missing or unreadable)");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lines_.empty()) drop_byte_order_mark(line);
    lines_.push_back(std::move(line));
  }
  if (in.bad()) throw input_error(path, static_cast<int64_t>(lines_.size()) + 1, "read error");
}

list_reader::list_reader(std::string name, std::vector<std::string> lines, std::vector<int64_t> numbers)
    : name_(std::move(name)), lines_(std::move(lines)), numbers_(std::move(numbers)) {}

int64_t list_reader::number_of(std::size_t index) const {
  if (index < numbers_.size()) return numbers_[index];
  if (!numbers_.empty()) return numbers_.back() + static_cast<int64_t>(index - numbers_.size()) + 1;
  return static_cast<int64_t>(index) + 1;
}

namespace {
bool blank_line(const std::string& l) { return l.find_first_not_of(" \t\r") == std::string::npos; }
}  // namespace

int64_t list_reader::value_lines() const {
  int64_t n = 0;
  for (const auto& l : lines_)
    if (!blank_line(l)) ++n;
  return n;
}

int64_t list_reader::value_line_number(int64_t n) const {
  int64_t seen = 0;
  for (std::size_t k = 0; k < lines_.size(); ++k) {
    if (!blank_line(lines_[k]) && ++seen == n) return number_of(k);
  }
  return 0;
}

std::string list_reader::read_line(std::string_view what) {
  if (at_end()) {
    throw input_error::mismatch(name_, line_number(), std::string(what), "end of file");
  }
  record_line_ = line_number();
  col_ = 0;
  return lines_[pos_++];
}

void list_reader::skip_line(std::string_view what) { (void)read_line(what); }

list_reader::record::record(list_reader& r) : r_(r) {
  r_.col_ = 0;
  r_.record_line_ = r_.line_number();
}

list_reader::record::~record() {
  // The record ends with its last line: whatever else that line holds is
  // passed over.  A read always takes at least one line.
  if (r_.pos_ < r_.lines_.size()) ++r_.pos_;
  r_.col_ = 0;
}

std::string_view list_reader::record::line() const {
  if (r_.pos_ >= r_.lines_.size()) return {};
  return r_.lines_[r_.pos_];
}

std::string_view list_reader::record::rest_of_line() const {
  const std::string_view l = line();
  return r_.col_ < l.size() ? l.substr(r_.col_) : std::string_view{};
}

int32_t count_values(std::string_view text) {
  int32_t n = 0;
  std::size_t c = 0;
  while (c < text.size()) {
    while (c < text.size() && is_separator(text[c])) ++c;
    if (c >= text.size() || text[c] == '/') break;
    ++n;
    while (c < text.size() && !is_separator(text[c]) && text[c] != '/') ++c;
  }
  return n;
}

bool comma_between_digits(std::string_view text) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == ','; };
  // A decimal comma joins two runs of digits neither of which has a point
  // ("8,0", "12,5"); "8.0,190.0" is two values.
  auto has_point = [&](std::size_t from, int step) {
    for (std::size_t k = from; k < text.size() && !blank(text[k]); k += static_cast<std::size_t>(step)) {
      if (text[k] == '.' || text[k] == 'e' || text[k] == 'E') return true;
      if (k == 0 && step < 0) break;
    }
    return false;
  };
  for (std::size_t c = 1; c + 1 < text.size(); ++c) {
    if (text[c] == ',' && digit(text[c - 1]) && digit(text[c + 1]) && !has_point(c - 1, -1) && !has_point(c + 1, 1)) {
      return true;
    }
  }
  return false;
}

void list_reader::record::bad(std::string_view type, std::string_view what, const std::string& found) const {
  std::string expected(type);
  if (!what.empty()) expected += " (" + std::string(what) + ")";
  throw input_error::mismatch(r_.name_, tok_line_, expected, found);
}

void list_reader::record::check_range(double v, std::string_view what) const {
  for (const auto& range : r_.ranges_) {
    if (range.name != what) continue;
    if (v >= range.low && v <= range.high) return;
    std::ostringstream text;
    text.precision(6);
    text << what << " = " << v << ": must be from " << range.low << " to " << range.high << range.unit;
    throw input_error(r_.name_, tok_line_, text.str());
  }
}

bool list_reader::record::next_token(std::string_view type, std::string_view what, std::string& tok,
                                     bool& quoted) {
  if (ended_) return false;
  quoted = false;
  for (;;) {
    if (r_.pos_ >= r_.lines_.size()) {
      tok_line_ = r_.line_number();
      bad(type, what, "end of file");
    }
    const std::string& line = r_.lines_[r_.pos_];
    // A continuation of the record starts on the next line: it is entered
    // only after the current one is used up.
    if (started_ && r_.col_ >= line.size()) {
      ++r_.pos_;
      r_.col_ = 0;
      continue;
    }
    started_ = true;
    std::size_t c = r_.col_;
    while (c < line.size() && is_separator(line[c])) ++c;
    if (c >= line.size()) {
      r_.col_ = c;
      continue;
    }
    tok_line_ = r_.line_number();
    if (r_.keep_places_ && !what.empty() && line[c] != '/') r_.places_.push_back({std::string(what), tok_line_});
    if (!found_) {
      found_ = true;
      r_.record_line_ = tok_line_;
    }
    if (line[c] == '/') {
      ended_ = true;
      r_.col_ = line.size();
      return false;
    }
    if (line[c] == '\'' || line[c] == '"') {
      const char q = line[c];
      quoted = true;
      tok.clear();
      std::size_t k = c + 1;
      while (k < line.size()) {
        if (line[k] == q) {
          if (k + 1 < line.size() && line[k + 1] == q) {
            tok += q;
            k += 2;
            continue;
          }
          ++k;
          break;
        }
        tok += line[k++];
      }
      r_.col_ = k;
      return true;
    }
    std::size_t k = c;
    while (k < line.size() && !is_separator(line[k]) && line[k] != '/') ++k;
    tok.assign(line, c, k - c);
    r_.col_ = k;
    return true;
  }
}

bool list_reader::record::item(int32_t& v, std::string_view what) {
  std::string tok;
  bool quoted = false;
  if (!next_token("an integer", what, tok, quoted)) return false;
  if (quoted || !parse_int32(tok, v)) bad("a 32-bit integer", what, quote(tok));
  return true;
}

bool list_reader::record::item(float& v, std::string_view what) {
  std::string tok;
  bool quoted = false;
  if (!next_token("a real number", what, tok, quoted)) return false;
  if (quoted || !parse_float(tok, v)) bad("a single-precision real number", what, quote(tok));
  if (r_.finite_only_ && !std::isfinite(v)) bad("a finite real number", what, quote(tok));
  if (!r_.ranges_.empty()) check_range(v, what);
  return true;
}

bool list_reader::record::item(double& v, std::string_view what) {
  std::string tok;
  bool quoted = false;
  if (!next_token("a real number", what, tok, quoted)) return false;
  if (quoted || !parse_double(tok, v)) bad("a double-precision real number", what, quote(tok));
  if (r_.finite_only_ && !std::isfinite(v)) bad("a finite real number", what, quote(tok));
  if (!r_.ranges_.empty()) check_range(v, what);
  return true;
}

bool list_reader::record::item(std::string& v, std::string_view what) {
  std::string tok;
  bool quoted = false;
  if (!next_token("a text", what, tok, quoted)) return false;
  v = tok;
  return true;
}

}  // namespace orvel
