#pragma once

#include <QStringList>

namespace Tips {

// The usage tips, in the order they are shown.
const QStringList &texts();

} // namespace Tips
