#include "core/userhome.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace UserHome {

void ensure()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("HOME"))
        return;
    if (const passwd *user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir) {
        qputenv("HOME", QByteArray(user->pw_dir));
        return;
    }
    for (const char *folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        if (qEnvironmentVariableIsEmpty(folder))
            qputenv(folder, QByteArray("/nonexistent"));
    }
#endif
}

} // namespace UserHome
