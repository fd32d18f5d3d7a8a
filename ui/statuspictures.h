#pragma once

#include <QPixmap>
#include <QString>

// The pictures of the status kinds, drawn when first needed: Info, Error, Warning, Question.
namespace StatusPictures {

// The picture for an exact status kind, or a null pixmap for any other text.
QPixmap picture(const QString &kind, int size = 32);

} // namespace StatusPictures
