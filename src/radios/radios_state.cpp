#include "radios/radios.h"

K7_STATE_DEFINE(radios, K7_RADIOS_STATE)

// The tables, all 0 at load: knobs at 0, drums rolling up from 0 on the first frame.
u16 radio_knob_angle1[4];
u16 radio_knob_angle2[4];
u8 radio_navcom_target1[RADIO_NAVCOM_DRUMS];
u8 radio_navcom_target2[RADIO_NAVCOM_DRUMS];
f64 radio_navcom_shown1[RADIO_NAVCOM_DRUMS];
f64 radio_navcom_shown2[RADIO_NAVCOM_DRUMS];
u8 radio_adf_target1[RADIO_ADF_DRUMS];
u8 radio_adf_target2[RADIO_ADF_DRUMS];
f64 radio_adf_shown1[RADIO_ADF_DRUMS];
f64 radio_adf_shown2[RADIO_ADF_DRUMS];
u8 radio_tsp_target[RADIO_TSP_DRUMS];
f64 radio_tsp_shown[RADIO_TSP_DRUMS];
i16 radio_radar_tilt_values[RADIO_RADAR_TILT_VALUES];
