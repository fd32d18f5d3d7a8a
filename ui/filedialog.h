#pragma once

#include <QString>

#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

// The editor's file dialogs. Each dialog object has a title, a one-entry filter in the form
// "description|pattern" and the name of the file chosen last, offered as the starting name the
// next time it opens.
namespace FileDialog {

enum class Mode { Open, Save, Folder };  // Folder: an existing folder; the filter is unused

struct Request
{
    Mode mode;
    QString title;
    QString filter;
    QString fileName;
};

// The chosen file's full path with native separators, or nothing when cancelled.
using Handler = std::function<std::optional<QString>(const Request &)>;

std::optional<QString> show(QWidget *parent, const Request &request);

// Replaces the real dialogs (tests); an empty handler restores them.
void setHandler(Handler handler);

std::optional<QString> showReal(QWidget *parent, const Request &request);
// Sets up a real dialog for the request: title aside, its mode, filter, folder and name.
void prepare(QFileDialog &dialog, const Request &request);

// "Level NFO (*.nfo)|*.nfo" as a Qt name filter, and its pattern's extension ("nfo").
QString qtNameFilter(const QString &filter);
QString defaultSuffix(const QString &filter);

} // namespace FileDialog

// A file dialog that offers the file chosen last as its starting name the next time it opens.
class RememberedFileDialog
{
public:
    explicit RememberedFileDialog(QString filter = {}) : m_filter(std::move(filter)) {}

    // The chosen file's path, or nothing when cancelled.
    std::optional<QString> run(QWidget *parent, FileDialog::Mode mode, const QString &title);

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

private:
    QString m_filter;
    QString m_fileName;
};
