// A colour from its 8-bit guns, for the Colour tool's tests.
#pragma once

#include "colour/Colour.h"

inline Colour rgb(int r, int g, int b) {
    return Colour::convertFrom24BitWithRed(r, g, b);
}
