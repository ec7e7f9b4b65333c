#include "sound/sound_state.h"

// Load volumes, in loading order: the click quieter than the alarms, the stall horn loudest.
i16 sound_volume[SND_COUNT] = {-2000, -2600, -2600, -1500, -800,  -1500, -1500, -1500,
                               -1500, -1000, -1000, -1000, -1000, -1000, -1000, -1000};

K7_STATE_DEFINE(sound, K7_SOUND_STATE)
