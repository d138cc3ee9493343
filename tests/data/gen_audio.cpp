// Builds the data-set generator's audio module into the data tests.
#include "../../tools/datagen/audio.cpp"
