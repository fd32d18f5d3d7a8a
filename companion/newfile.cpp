#include "companion/newfile.h"


namespace NewFile {

namespace {
// Where the name in a start path begins: after its last separator ("\\" on Windows, where "/"
// separates too; "/" elsewhere), or at 0.
qsizetype nameStart(const QString &startPath)
{
#ifdef Q_OS_WIN
    return qMax(startPath.lastIndexOf(QLatin1Char('\\')), startPath.lastIndexOf(QLatin1Char('/'))) + 1;
#else
    return startPath.lastIndexOf(QLatin1Char('/')) + 1;
#endif
}
} // namespace

QString proposedName(const QString &startPath) { return startPath.mid(nameStart(startPath)); }

QString targetPath(const QString &startPath, const QString &typedName)
{
    return startPath.left(nameStart(startPath)) + typedName;
}

} // namespace NewFile
