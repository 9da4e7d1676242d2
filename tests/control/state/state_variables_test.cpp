// Checks every variable of the shared state blocks against the list in
// variables.tsv: its declared type, its starting value, and that
// reset_state() brings it back.  The list is turned into one macro call per
// row at build time (state_variables.inc), so each row compiles its own check;
// a variable missing from its block is reported, not a compile error.
#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"

namespace orvel {
namespace {

template <class T>
struct is_farray : std::false_type {};
template <class E, int R>
struct is_farray<farray<E, R>> : std::true_type {};

template <class T>
struct is_std_array : std::false_type {};
template <class E, std::size_t N>
struct is_std_array<std::array<E, N>> : std::true_type {};

template <class E>
std::string element_name() {
  if constexpr (std::is_same_v<E, int32_t>) return "int32";
  else if constexpr (std::is_same_v<E, float>) return "float";
  else if constexpr (std::is_same_v<E, double>) return "double";
  else if constexpr (std::is_same_v<E, std::string>) return "text";
  else return "unsupported";
}

// The type of a variable in the notation of variables.tsv.  A text's length
// is that of its starting value; the elements of a run-time text array have
// no length until a reader fills them, so theirs is not part of the check.
template <class T>
std::string type_of(const T&) {
  return element_name<T>();
}
inline std::string type_of(const std::string& s) { return "text" + std::to_string(s.size()); }
template <class E, std::size_t N>
std::string type_of(const std::array<E, N>&) {
  return element_name<E>() + "[" + std::to_string(N) + "]";
}
template <class E, int R>
std::string type_of(const farray<E, R>&) {
  return element_name<E>() + "(" + std::to_string(R) + ")";
}

std::string expected_type(std::string t) {
  if (t.rfind("text", 0) == 0 && t.back() == ')') return "text" + t.substr(t.find('('));
  return t;
}

// Number of members of an aggregate: the most initialisers it accepts.
struct any_value {
  template <class T>
  operator T() const;
};

template <class B, std::size_t... I>
constexpr bool brace_initialisable(std::index_sequence<I...>) {
  return requires { B{(static_cast<void>(I), any_value{})...}; };
}

template <class B, std::size_t Lo = 0, std::size_t Hi = 1024>
constexpr std::size_t field_count() {
  if constexpr (Hi - Lo <= 1) {
    return Lo;
  } else {
    constexpr std::size_t mid = (Lo + Hi) / 2;
    if constexpr (brace_initialisable<B>(std::make_index_sequence<mid>{})) {
      return field_count<B, mid, Hi>();
    } else {
      return field_count<B, Lo, mid>();
    }
  }
}

// Why v does not hold its starting value ("" when it does): zero, blanks of
// its length for a text, and no allocation for a run-time array.
template <class T>
std::string start_problem(const T& v, const std::string& type, const std::string& label) {
  if constexpr (std::is_arithmetic_v<T>) {
    const T start = label == "var_hns_extra.nclases" ? T(5) : T(0);
    if (v != start) return label + " holds " + std::to_string(v) + ", not " + std::to_string(start);
  } else if constexpr (std::is_same_v<T, std::string>) {
    const bool listed_text = type.size() > 4 && type.rfind("text", 0) == 0 && std::isdigit(static_cast<unsigned char>(type[4]));
    const std::size_t n = listed_text ? std::stoul(type.substr(4)) : v.size();
    if (v != blanks(n)) return label + " is not " + std::to_string(n) + " blanks: '" + v + "'";
  } else if constexpr (is_std_array<T>::value) {
    for (const auto& e : v) {
      if (e != 0) return label + " has a non-zero element";
    }
  } else if constexpr (is_farray<T>::value) {
    if (v.allocated() || v.size() != 0) return label + " is allocated";
  } else {
    return label + " has an unexpected type";
  }
  return "";
}

// Gives v a value other than its starting one; a run-time array is allocated
// with two elements along each dimension.
template <class T>
void spoil(T& v) {
  if constexpr (std::is_arithmetic_v<T>) {
    v = T(7);
  } else if constexpr (std::is_same_v<T, std::string>) {
    v.assign(v.empty() ? 1 : v.size(), 'x');
  } else {
    v.fill(7);
  }
}
template <class E, int R>
void spoil(farray<E, R>& v) {
  if (v.allocated()) return;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    v.allocate((static_cast<void>(I), 2)...);
  }(std::make_index_sequence<R>{});
  if constexpr (std::is_same_v<E, std::string>) {
    v.fill("x");
  } else {
    v.fill(E(7));
  }
}

// What the tests do with one variable, whatever its type.
struct var_ops {
  std::string (*type)(const void* v) = nullptr;
  std::string (*start_problem)(const void* v, const std::string& type, const std::string& label) = nullptr;
  void (*spoil)(void* v) = nullptr;
};

template <class T>
var_ops ops_for() {
  return {[](const void* v) { return type_of(*static_cast<const T*>(v)); },
          [](const void* v, const std::string& type, const std::string& label) {
            return start_problem(*static_cast<const T*>(v), type, label);
          },
          [](void* v) { spoil(*static_cast<T*>(v)); }};
}

struct member {
  void* address = nullptr;  // null when there is no such member
  var_ops ops;
};

// Member `name` of obj, if it has one.
#define ORVEL_MEMBER(obj, name)                                             \
  [&]<class B>(B& b) -> member {                                            \
    if constexpr (requires { b.name; }) {                                   \
      return {static_cast<void*>(&b.name), ops_for<decltype(B::name)>()};   \
    } else {                                                                \
      return {};                                                            \
    }                                                                       \
  }(obj)

// A value-initialised block or record: the starting values.
template <class B>
B& fresh() {
  static B b{};
  return b;
}

// One row of the list, with the member in a fresh copy and in the live block
// (records have no live instance).
struct entry {
  std::string block;
  std::string name;
  std::string type;
  member in_fresh;
  member in_live;
  std::string label() const { return block + "." + name; }
};

const std::vector<entry>& entries() {
  static const std::vector<entry> list = [] {
    std::vector<entry> e;
#define ORVEL_STATE_TYPE(block, ctype)
#define ORVEL_STATE_VAR(block, ctype, name, type) \
  e.push_back({#block, #name, type, ORVEL_MEMBER(fresh<ctype>(), name), ORVEL_MEMBER(orvel::block, name)});
#define ORVEL_STATE_FIELD(block, ctype, name, type) \
  e.push_back({#block, #name, type, ORVEL_MEMBER(fresh<ctype>(), name), member{}});
#include "state_variables.inc"
#undef ORVEL_STATE_TYPE
#undef ORVEL_STATE_VAR
#undef ORVEL_STATE_FIELD
    return e;
  }();
  return list;
}

std::string join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

TEST(StateVariables, EveryVariableHasItsDeclaredType) {
  ASSERT_GE(entries().size(), 500u);
  std::vector<std::string> wrong;
  for (const auto& e : entries()) {
    const std::string actual = e.in_fresh.address ? e.in_fresh.ops.type(e.in_fresh.address) : "missing";
    if (actual != expected_type(e.type)) {
      wrong.push_back(e.label() + ": declared " + actual + ", listed " + e.type);
    }
  }
  EXPECT_TRUE(wrong.empty()) << join(wrong);
}

TEST(StateVariables, BlocksHoldNothingBeyondTheList) {
  std::map<std::string, std::size_t> listed;
  for (const auto& e : entries()) ++listed[e.block];
  std::vector<std::string> wrong;
#define ORVEL_STATE_TYPE(block, ctype)                                                    \
  if (field_count<ctype>() != listed[#block]) {                                           \
    wrong.push_back(std::string(#block) + " has " + std::to_string(field_count<ctype>()) + \
                    " members, the list " + std::to_string(listed[#block]));              \
  }
#define ORVEL_STATE_VAR(block, ctype, name, type)
#define ORVEL_STATE_FIELD(block, ctype, name, type)
#include "state_variables.inc"
#undef ORVEL_STATE_TYPE
#undef ORVEL_STATE_VAR
#undef ORVEL_STATE_FIELD
  EXPECT_TRUE(wrong.empty()) << join(wrong);
}

TEST(StateVariables, StartZeroBlankAndUnallocated) {
  std::vector<std::string> wrong;
  for (const auto& e : entries()) {
    if (!e.in_fresh.address) continue;  // reported by the type check
    auto p = e.in_fresh.ops.start_problem(e.in_fresh.address, e.type, e.label());
    if (!p.empty()) wrong.push_back(p);
  }
  EXPECT_TRUE(wrong.empty()) << join(wrong);
  EXPECT_EQ(var_hns_extra_block{}.nclases, 5);
}

TEST(StateVariables, ResetRestoresEveryBlock) {
  reset_state();
  int spoiled = 0;
  for (const auto& e : entries()) {
    if (!e.in_live.address) continue;
    e.in_live.ops.spoil(e.in_live.address);
    ++spoiled;
  }
  ASSERT_GE(spoiled, 500);
  // The spoiling reached the live blocks.
  ASSERT_TRUE(var_part.x_part.allocated());
  ASSERT_EQ(var_part.x_part.size(), 4);
  ASSERT_EQ(var_cfg.ruta, std::string(256, 'x'));
  ASSERT_EQ(var_hns_extra.nclases, 7);
  ASSERT_EQ(var_cfg.xyzcurrentnodes_number[2], 7);
  ASSERT_TRUE(var1.fichvel_u.allocated());

  reset_state();

  std::vector<std::string> wrong;
  for (const auto& e : entries()) {
    if (!e.in_live.address) continue;
    auto p = e.in_live.ops.start_problem(e.in_live.address, e.type, e.label());
    if (!p.empty()) wrong.push_back(p);
  }
  EXPECT_TRUE(wrong.empty()) << join(wrong);
  EXPECT_EQ(var_hns_extra.nclases, 5);
  EXPECT_FALSE(var_part.x_part.allocated());
  EXPECT_EQ(var_cfg.ruta, blanks(256));
}
// A released array can be allocated again with new extents, and the record
// keeps its own arrays apart from every block.
TEST(StateVariables, ReallocationAfterResetAndPolygonRecord) {
  reset_state();
  var_cfg.spills_number = 3;
  var_cfg.spillstarttime.allocate(var_cfg.spills_number);
  reset_state();
  var_cfg.spillstarttime.allocate(5);
  EXPECT_EQ(var_cfg.spillstarttime.size(1), 5);
  EXPECT_EQ(var_cfg.spills_number, 0);
  reset_state();

  farray<coast_polygon, 1> coord_str{"coord_str"};
  coord_str.allocate(2);
  coord_str(2).n = 3;
  coord_str(2).x.allocate(3);
  coord_str(2).x(3) = 355.5;
  EXPECT_FALSE(coord_str(1).x.allocated());
  EXPECT_EQ(coord_str(2).x(3), 355.5);
  EXPECT_EQ(coord_str(1).n, 0);
}

}  // namespace
}  // namespace orvel
