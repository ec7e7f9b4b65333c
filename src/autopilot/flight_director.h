// The flight director computer: mode logic and command bars, run once per update at the start of
// the attitude director's own update, before it draws.
#pragma once

void fd_computer_update();
