#include "shell/nfohandoff.h"

#include "core/documentfile.h"
#include "core/nfokind.h"
#include "core/nfoline.h"
#include "shell/desktopintegration.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace NfoHandOff {

#ifndef Q_OS_WIN
namespace {

// Set for the application a file is handed to: if it hands the file back, the editor opens it.
const char HandedOn[] = "BRISQUEL_HANDED_ON";

// The desktop file of an application id, when it is one, is still installed in the applications
// folders and is not Brisquel's.
QString applicationFile(const QString &id)
{
    if (!DesktopIntegration::isOtherApplicationId(id))
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

bool launch(const QString &desktopFile, const QString &path)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(HandedOn), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    if (const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio")); !gio.isEmpty()) {
        process.setProgram(gio);
        process.setArguments({QStringLiteral("launch"), desktopFile, path});
    } else if (const QString gtkLaunch = QStandardPaths::findExecutable(QStringLiteral("gtk-launch"));
               !gtkLaunch.isEmpty()) {
        process.setProgram(gtkLaunch);
        process.setArguments({desktopFile.section(QLatin1Char('/'), -1), path});
    } else {
        return false;
    }
    return process.startDetached();
}

} // namespace
#endif

bool passOn(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    if (qEnvironmentVariableIsSet(HandedOn))
        return false;
    try {
        if (NfoKind::isGameNfo(Nfo::firstLine(DocumentFile::read(path), path)))
            return false;
    } catch (const AppError &) {
        return false;  // the editor opens it and says what is wrong
    }
    QString application = applicationFile(DesktopIntegration::previousNfoDefault());
    if (application.isEmpty())
        application = applicationFile(DesktopIntegration::defaultApplication(QStringLiteral("text/plain")));
    return !application.isEmpty() && launch(application, path);
#endif
}

} // namespace NfoHandOff
