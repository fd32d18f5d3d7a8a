#include "editor/documentpanel.h"

#include <QPushButton>

QPushButton *DocumentPanel::addBrowseButton(const QString &name, const QString &caption, AssetKind kind,
                                            QLineEdit *field)
{
    auto *button = new QPushButton(QStringLiteral("..."), this);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("Browse..."));
    button->setAccessibleName(caption + QStringLiteral(": Browse..."));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(button, &QPushButton::clicked, this, [this, kind, field] { emit browseRequested(kind, field); });
    return button;
}
