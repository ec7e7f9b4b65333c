// Module-wide aircraft state, declared once per subsystem.
//
// Each subsystem header holds one list of its variables:
//
//   #define K7_ELECTRICAL_STATE(X, A)
//     X(u8, elec_master_sw, 2, 0, 2, "master switch: 0 off, 1 ground power, 2 battery")
//     A(i16, some_table, 16, -10000, 0, "a table defined with its values in its owner's source
//     file")
//
// (each line but the last ending in a backslash): type, name, load value (count for a table), the
// valid range lowest..highest (a value outside it is a fault wherever it comes from), meaning.
//
// K7_STATE_DECLARE(list) declares the variables (extern) for every reader; the subsystem's state
// source file defines them with their load values and a registry table through
// K7_STATE_DEFINE(subsystem, list). Arrays (A) are declared and registered here but defined, with
// their load values, by their owner. The registry lets the simulator stand-in and the tests read
// and write any variable by name; it is reachable only in the native development build.
#pragma once

#include "module/types.h"

#include <cstddef>

enum class StateType : u8 { U8, I8, U16, I16, U32, I32, F64 };

struct StateEntry {
  const char* name;
  StateType type;
  std::size_t count; // 1 for a plain variable, the element count for a table
  void* address;
  double load_value; // plain variables only
  double lowest;     // valid range, inclusive
  double highest;
  const char* comment;
};

struct StateTable {
  const StateEntry* entries;
  std::size_t count;
};

template <typename T> constexpr StateType state_type_of();
template <> constexpr StateType state_type_of<u8>() {
  return StateType::U8;
}
template <> constexpr StateType state_type_of<i8>() {
  return StateType::I8;
}
template <> constexpr StateType state_type_of<u16>() {
  return StateType::U16;
}
template <> constexpr StateType state_type_of<i16>() {
  return StateType::I16;
}
template <> constexpr StateType state_type_of<u32>() {
  return StateType::U32;
}
template <> constexpr StateType state_type_of<i32>() {
  return StateType::I32;
}
template <> constexpr StateType state_type_of<f64>() {
  return StateType::F64;
}

#define K7_STATE_EXTERN_VAR(type, name, init, lo, hi, comment)    extern type name;
#define K7_STATE_EXTERN_ARRAY(type, name, count, lo, hi, comment) extern type name[count];
#define K7_STATE_DEFINE_VAR(type, name, init, lo, hi, comment)    type name = init;
#define K7_STATE_DEFINE_NONE(type, name, count, lo, hi, comment)
#define K7_STATE_ENTRY_VAR(type, name, init, lo, hi, comment)                                      \
  {#name, state_type_of<type>(), 1, &name, static_cast<double>(init), lo, hi, comment},
#define K7_STATE_ENTRY_ARRAY(type, name, count, lo, hi, comment)                                   \
  {#name, state_type_of<type>(), count, name, 0.0, lo, hi, comment},

#define K7_STATE_DECLARE(list) list(K7_STATE_EXTERN_VAR, K7_STATE_EXTERN_ARRAY)

// Defines the variables of a subsystem and its registry table `state_table_<subsystem>`.
#define K7_STATE_DEFINE(subsystem, list)                                                           \
  list(K7_STATE_DEFINE_VAR,                                                                        \
       K7_STATE_DEFINE_NONE) static const StateEntry state_entries_##subsystem[] = {               \
      list(K7_STATE_ENTRY_VAR, K7_STATE_ENTRY_ARRAY){nullptr, StateType::U8, 0, nullptr, 0.0, 0.0, \
                                                     0.0, nullptr}};                               \
  extern const StateTable state_table_##subsystem;                                                 \
  const StateTable state_table_##subsystem = {                                                     \
      state_entries_##subsystem, sizeof(state_entries_##subsystem) / sizeof(StateEntry) - 1};

// Looks a variable up by name in every subsystem's table; null when unknown.
const StateEntry* state_find(const char* name);
// All subsystem tables, ending with an empty one.
const StateTable* state_tables();
