#pragma once

#include <QGroupBox>

class QLabel;
class QPlainTextEdit;
class QTimer;

// The description panel "Properties (DSC)": one block of free text.
class DscPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit DscPanel(QWidget *parent = nullptr);

    // The whole description; a long one still being filled in is completed first.
    QString text();
    // A long description shows its beginning at once and is filled in behind it, a chunk per
    // turn of the event loop, with the box read-only until it is complete.
    void setText(const QString &text);
    bool isFilling() const { return !m_pending.isEmpty(); }

    QLabel *LblDes = nullptr;
    QPlainTextEdit *TextDSC = nullptr;

signals:
    // A change of the text by the user or the program (not the filling in of a long text).
    void changed();

private:
    void fillNextChunk();
    void completeFill();

    QString m_pending;  // the long text being filled in
    qsizetype m_filled = 0;
    bool m_filling = false;
    QTimer *m_fillTimer = nullptr;
};
