#include "shell/registerfiletypes.h"

#include "shell/classstore.h"
#include "shell/desktopintegration.h"
#include "shell/filetyperows.h"
#include "shell/classregistry_win.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileTypes {

#ifdef Q_OS_WIN
bool unregisterFileTypes(QString *failure)
{
    std::string what;
    const bool removed = ClassRegistry::unregisterFileTypes(HKEY_CURRENT_USER, "Software\\Classes", &what);
    if (failure)
        *failure = QString::fromUtf8(what.c_str());
    return removed;
}
#endif

QString classStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Brisquel/classes.reg");
}

bool registerFileTypes(const QString &programFolder, const QString &executable, QString *failure)
{
#ifdef Q_OS_WIN
    Q_UNUSED(programFolder);
    Q_UNUSED(executable);
    std::string what;
    const bool written = ClassRegistry::registerFileTypes(HKEY_CURRENT_USER, "Software\\Classes", &what);
    if (failure)
        *failure = QString::fromUtf8(what.c_str());
    return written;
#else
    const FileTypeRows::Program program{QDir::toNativeSeparators(programFolder).toStdString(),
                                        QFileInfo(executable).fileName().toStdString(), std::string(),
                                        QDir::separator().toLatin1()};
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("the per-user data folder (XDG_DATA_HOME) cannot be used");
        return false;
    }
    ClassStore store(classStorePath());
    QString firstFailure;
    for (const FileTypeRows::Row &row : FileTypeRows::rows(program)) {
        const QString key = QString::fromStdString(row.key);
        const QString name = QString::fromStdString(row.name);
        QString rowFailure;
        const bool written = row.type == FileTypeRows::Type::String
                                 ? store.setString(key, name, QString::fromStdString(row.text), &rowFailure)
                                 : store.setNumber(key, name, row.number, &rowFailure);
        if (!written && firstFailure.isEmpty())
            firstFailure = rowFailure;
    }
    // The notification hook: the desktop learns of the rows.
    QString desktopFailure;
    const bool applied = DesktopIntegration::apply(store.values(), executable, &desktopFailure);
    if (firstFailure.isEmpty() && !applied)
        firstFailure = desktopFailure;
    if (failure)
        *failure = firstFailure;
    return firstFailure.isEmpty();
#endif
}

} // namespace FileTypes
