#pragma once

#include <QLabel>

// A one-line label that shows what fits of its text with "…" where it is cut: in the middle when
// the text names a path (its file name stays in view), at the end otherwise. text() and the
// accessible name are the whole text; the tooltip shows it whole when it is cut.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The text as drawn at the label's width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
};
