#include "shell/nfohandoff.h"

#include "core/documentfile.h"
#include "core/nfokind.h"
#include "core/nfoline.h"
#include "shell/desktopintegration.h"

#ifdef Q_OS_WIN
#include "shell/classregistry_win.h"

#include <shellapi.h>
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace NfoHandOff {

namespace {
// Set for the application a file is handed to: if it hands the file back, the editor opens it.
const char HandedOn[] = "BRISQUEL_HANDED_ON";
}

#ifndef Q_OS_WIN
namespace {

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

bool passOn(const QString &given)
{
    if (qEnvironmentVariableIsSet(HandedOn))
        return false;
    // Handed on made absolute: a relative name that starts with "-" would be an option to the
    // launcher.
    const QString path = QDir::toNativeSeparators(QFileInfo(given).absoluteFilePath());
    try {
        if (NfoKind::isGameNfo(Nfo::firstLine(DocumentFile::read(path), path)))
            return false;
    } catch (const AppError &) {
        return false;  // the editor opens it and says what is wrong
    }
#ifdef Q_OS_WIN
    // The class .nfo had before (System Information's, a text editor's), else Notepad.
    qputenv(HandedOn, "1");
    const std::wstring file = path.toStdWString();
    const std::wstring before = QString::fromUtf8(ClassRegistry::nfoClassBefore().c_str()).toStdWString();
    if (!before.empty()) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.lpClass = before.c_str();
        info.lpFile = file.c_str();
        info.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExW(&info))
            return true;
    }
    const std::wstring quoted = L"\"" + file + L"\"";
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
#else
    QString application = applicationFile(DesktopIntegration::previousNfoDefault());
    if (application.isEmpty())
        application = applicationFile(DesktopIntegration::defaultApplication(QStringLiteral("text/plain")));
    return !application.isEmpty() && launch(application, path);
#endif
}

} // namespace NfoHandOff
