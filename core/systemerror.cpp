#include "core/systemerror.h"

#include <cstring>

QString systemErrorText(int error)
{
    char buffer[256] = {};
#if defined(Q_OS_WIN)
    strerror_s(buffer, sizeof buffer, error);
    return QString::fromLocal8Bit(buffer);
#elif defined(__GLIBC__) && defined(_GNU_SOURCE)
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));  // GNU: may return its own text
#else
    if (strerror_r(error, buffer, sizeof buffer) != 0)
        return QStringLiteral("error %1").arg(error);
    return QString::fromLocal8Bit(buffer);
#endif
}
