#include "editor/documentpanel.h"

#include <QCheckBox>
#include <QPushButton>

QCheckBox *DocumentPanel::addIncludeBox(const QString &name, const QString &caption, bool fixed)
{
    auto *include = new QCheckBox(caption, this);
    include->setObjectName(name);
    if (fixed) {
        include->setChecked(true);
        include->setEnabled(false);
    }
    return include;
}

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
