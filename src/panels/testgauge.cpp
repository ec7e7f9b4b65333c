// "testgauge2k": a small test gauge at the end of the main panel. It shows the elevator position
// (as a fraction of full travel) and, while its flag is set by a click, pushes the elevator down.
// Its element list is also the one the shared element routines hand to the simulator.
#include "module/gauge.h"
#include "module/services.h"
#include "panels/panels.h"

#include <cstdio>

namespace {

constexpr u32 KEY_ELEVATOR_SET = 0x1009E;
constexpr i32 TEST_ELEVATOR = -15000;
constexpr double FULL_TRAVEL = 16384.0;

MODULE_VAR elevator = sim::token(0x13D);

char text[16] = "";

FLOAT64 FSAPI show_elevator(ELEMENT_STRING*) {
  // Held within what six decimals print in the buffer.
  const double value = k7::clamp(sim::read_finite(elevator) / FULL_TRAVEL, -99.0, 99.0);
  std::snprintf(text, sizeof text, "%1.6f", value);
  return value;
}

constexpr COLORREF_K7 GREEN_TEXT = 0x0000FF00; // 0x00BBGGRR
ELEMENT_STRING readout = k7::string(&gauge_testgauge2k, {2, 4}, {32, 10}, text, sizeof text - 1,
                                    show_elevator, GREEN_TEXT, 0, IMAGE_USE_TRANSPARENCY, K7_END);
ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_testgauge2k, k7::bitmap_id(GAUGE_INDEX_testgauge2k, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY, K7_NEXT(readout));

BOOL FSAPI on_click(PPIXPOINT, FLAGS32) {
  testgauge_flag = testgauge_flag != 0 ? 0 : 1;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 36, 18}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_click),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE && testgauge_flag != 0)
    sim::key_event(KEY_ELEVATOR_SET, static_cast<u32>(TEST_ELEVATOR));
}

} // namespace

K7_GAUGE_HEADER(testgauge2k, background, mouse, callback);
