// Builds the data-set generator's canvas module into the data tests.
#include "../../tools/datagen/canvas.cpp"
