#pragma once

#include <QGroupBox>

class QLabel;
class QPlainTextEdit;

// The description panel "Properties (DSC)": one block of free text.
class DscPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit DscPanel(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    QLabel *LblDes = nullptr;
    QPlainTextEdit *TextDSC = nullptr;

signals:
    void changed();
};
