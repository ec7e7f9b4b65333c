#include "module/services.h"

namespace sim {

void key_event(u32 event_id, u32 value) {
  if (auto f = service<PFN_TRIGGER_KEY_EVENT>(PANELS_TRIGGER_KEY_EVENT)) f(event_id, value);
}

double read(MODULE_VAR& var) {
  if (auto f = service<PFN_LOOKUP_VAR>(PANELS_LOOKUP_VAR)) f(&var);
  return var.var_value.n;
}

double read_finite(MODULE_VAR& var) {
  return k7::finite_or(read(var), 0.0);
}

u32 read_u32(MODULE_VAR& var) {
  if (auto f = service<PFN_LOOKUP_VAR>(PANELS_LOOKUP_VAR)) f(&var);
  return var.var_value.d;
}

double named_get(const char* name) {
  auto check = service<PFN_CHECK_NAMED_VARIABLE>(PANELS_CHECK_NAMED_VARIABLE);
  auto get = service<PFN_GET_NAMED_VARIABLE_VALUE>(PANELS_GET_NAMED_VARIABLE_VALUE);
  if (check == nullptr || get == nullptr) return 0.0;
  return get(check(name));
}

void named_set(const char* name, double value) {
  auto check = service<PFN_CHECK_NAMED_VARIABLE>(PANELS_CHECK_NAMED_VARIABLE);
  auto set = service<PFN_SET_NAMED_VARIABLE_VALUE>(PANELS_SET_NAMED_VARIABLE_VALUE);
  if (check == nullptr || set == nullptr) return;
  set(check(name), value);
}

double calc(const char* expression) {
  double value = 0.0;
  if (auto f = service<PFN_EXECUTE_CALCULATOR_CODE>(PANELS_EXECUTE_CALCULATOR_CODE))
    f(expression, &value, nullptr, nullptr);
  return value;
}

void window_toggle(u32 window_id) {
  if (auto f = service<PFN_PANEL_WINDOW_TOGGLE>(PANELS_PANEL_WINDOW_TOGGLE)) f(window_id);
}
void window_open(u32 window_id) {
  key_event(KEY_PANEL_ID_OPEN, window_id);
}
void window_close(u32 window_id) {
  key_event(KEY_PANEL_ID_CLOSE, window_id);
}

} // namespace sim
