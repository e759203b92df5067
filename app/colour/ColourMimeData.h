#pragma once
#include "colour/Colour.h"

#include <optional>

class QMimeData;

// The colour a drag carries: a colour (application/x-color) or, failing that,
// a text naming one ("#ff8800", "#f80", "orange"). None when it carries neither.
std::optional<Colour> colourFromMimeData(const QMimeData *mime);
