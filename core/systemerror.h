#pragma once

#include <QString>

// The system's own text for an error number ("No such file or directory"), safe to ask from any
// thread: the check of a mod runs behind the window.
QString systemErrorText(int error);
