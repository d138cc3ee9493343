// The headless game driver, built into this test program too.
#include "game/driver.cpp"
