#include "ui/filedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace FileDialog {

namespace {
Handler &handler()
{
    static Handler instance;
    return instance;
}
} // namespace

std::optional<QString> show(QWidget *parent, const Request &request)
{
    if (handler())
        return handler()(request);
    return showReal(parent, request);
}

void setHandler(Handler newHandler) { handler() = std::move(newHandler); }

QString qtNameFilter(const QString &filter)
{
    const QString description = filter.section(QLatin1Char('|'), 0, 0);
    const QString pattern = filter.section(QLatin1Char('|'), 1);
    if (description.contains(QLatin1Char('(')) && description.contains(pattern))
        return description;
    return QStringLiteral("%1 (%2)").arg(description, pattern);
}

QString defaultSuffix(const QString &filter)
{
    const QString pattern = filter.section(QLatin1Char('|'), 1);
    return pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2) : QString();
}

std::optional<QString> showReal(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent, request.title);
    prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void prepare(QFileDialog &dialog, const Request &request)
{
    dialog.setNameFilter(qtNameFilter(request.filter));
    if (request.mode == Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix(request.filter));
    } else if (request.mode == Mode::Folder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    // The dialog starts in the starting name's folder, whatever dialog the program showed last:
    // Windows' own dialog takes only the name from selectFile() and otherwise opens in the folder
    // used last by any dialog (an asset browse's, say), where Enter would then save.
    const QFileInfo start(QDir::fromNativeSeparators(request.fileName));
    if (request.mode == Mode::Folder && start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else if (!request.fileName.isEmpty()) {
        if (start.absoluteDir().exists())
            dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
}

} // namespace FileDialog

std::optional<QString> RememberedFileDialog::run(QWidget *parent, FileDialog::Mode mode, const QString &title)
{
    const auto chosen = FileDialog::show(parent, {mode, title, m_filter, m_fileName});
    if (chosen)
        m_fileName = *chosen;
    return chosen;
}
