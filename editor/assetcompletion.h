#pragma once

#include "core/backgroundrunner.h"
#include "core/nfovalue.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QStringListModel;

// Asset fields complete from the files of their kind under the mod and game folders as the
// author types: "ra" offers Models\Ra.mdl (any part of the path, any letter case), entered as
// browsing enters it. The lists are made behind the window, once per folder, so typing never
// waits for them.
class AssetCompletion : public QObject
{
    Q_OBJECT

public:
    using Lists = std::array<QStringList, 3>;  // by AssetKind, None excepted

    explicit AssetCompletion(QObject *parent = nullptr);

    // The field completes from the files of its kind from now on; `chosen` runs when the author
    // takes an offered file.
    void attach(AssetKind kind, QLineEdit *field, std::function<void()> chosen);
    // The document's folder (for a new one, where its mod most likely is; empty: unknown) and the
    // game folder (empty: none): the lists are made for them, when they are not made already, as
    // soon as an asset field has the focus.
    void setFolders(const QString &documentFolder, const QString &gameFolder);

    // The files of each kind, as the fields take them: under the mod folder relative to it, under
    // the game's folder of the kind relative to the game; sorted, each once in any letter case.
    static Lists listsFor(const QString &modFolder, const QString &gameFolder, const BackgroundRunner::StopFlag &stop);

    // Whether lists are being made (for the tests).
    bool isMaking() const { return m_runner.isRunning(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show(const Lists &lists);
    void makePending();

    std::array<QStringListModel *, 3> m_models{};
    QHash<QString, Lists> m_made;  // by the folders they were made for
    QString m_wanted;
    std::optional<std::pair<QString, QString>> m_pending;  // the mod and game folders still to list
    QSet<const QObject *> m_fields;
    BackgroundRunner m_runner;
};
