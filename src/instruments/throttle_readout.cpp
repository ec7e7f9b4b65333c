// "kestovil th_val_k7": the throttle-position readout.
#include "instruments/instruments.h"

i32 thr_digits_left[3] = {};
i32 thr_digits_right[3] = {};
i32 thr_sample_a[2] = {};
i32 thr_sample_b[2] = {};
