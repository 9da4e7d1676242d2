# Turns variables.tsv into a list of macro calls, one per row, for the state
# variable test:
#   ORVEL_STATE_TYPE(block, type)            once per block, in file order
#   ORVEL_STATE_VAR(block, type, name, "t")  a variable of a state block
#   ORVEL_STATE_FIELD(record, type, name, "t")  a field of a record type
# Block names begin with "var" and their type is <block>_block; any other
# name is a record type of that name.
# Run as: cmake -DIN=variables.tsv -DOUT=state_variables.inc -P variables_inc.cmake
cmake_minimum_required(VERSION 3.25)
file(STRINGS "${IN}" lines)
set(out "// Generated from tests/control/state/variables.tsv; do not edit.\n")
set(seen "")
set(lineno 0)
foreach(line IN LISTS lines)
  math(EXPR lineno "${lineno} + 1")
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\t([A-Za-z_][A-Za-z0-9_]*)\t([^\t ]+)$")
    message(FATAL_ERROR "${IN}:${lineno}: expected block, name and type separated by tabs: ${line}")
  endif()
  set(block "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(type "${CMAKE_MATCH_3}")
  if(block MATCHES "^var")
    set(ctype "${block}_block")
    set(macro ORVEL_STATE_VAR)
  else()
    set(ctype "${block}")
    set(macro ORVEL_STATE_FIELD)
  endif()
  if(NOT block IN_LIST seen)
    list(APPEND seen "${block}")
    string(APPEND out "ORVEL_STATE_TYPE(${block}, ${ctype})\n")
  endif()
  string(APPEND out "${macro}(${block}, ${ctype}, ${name}, \"${type}\")\n")
endforeach()
file(WRITE "${OUT}.tmp" "${out}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
