// Builds the data-set generator's sprites module into the data tests.
#include "../../tools/datagen/sprites.cpp"
