#pragma once

#include "core/statuskind.h"

#include <QPixmap>

// The pictures of the status kinds, drawn when first needed from the kinds' table.
namespace StatusPictures {

// The kind's picture, or a null pixmap for a kind without one.
QPixmap picture(StatusKind kind, int size = 32);

} // namespace StatusPictures
