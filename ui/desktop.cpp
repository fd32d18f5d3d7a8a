#include "ui/desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace Desktop {

namespace {
Handler &handler()
{
    static Handler instance;
    return instance;
}
} // namespace

bool openFile(const QString &path)
{
    if (handler())
        return handler()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setHandler(Handler newHandler) { handler() = std::move(newHandler); }

} // namespace Desktop
