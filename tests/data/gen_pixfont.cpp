// Builds the data-set generator's pixfont module into the data tests.
#include "../../tools/datagen/pixfont.cpp"
