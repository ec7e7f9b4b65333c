#include "autopilot/flight_director.h"

// The flight director laws and mode logic.
void fd_computer_update() {}
