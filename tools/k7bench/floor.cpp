// The empty module's callbacks: what the simulator's calls cost when the module does nothing.
// A library of its own, so that an instruction count can tell them from the stand-in's work.
#include "module/panel_abi.h"

extern "C" {
__attribute__((visibility("default"))) void FSAPI k7floor_gauge(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}
__attribute__((visibility("default"))) FLOAT64 FSAPI k7floor_element(void*) {
  return 0.0;
}
}
