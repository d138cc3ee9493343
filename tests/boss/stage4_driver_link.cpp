// The headless game driver, built into this test program for the whole-stage
// plays of the stage 4 routes.
#include "game/driver.cpp"
