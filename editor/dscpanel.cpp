#include "editor/dscpanel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

DscPanel::DscPanel(QWidget *parent) : QGroupBox(QStringLiteral("Properties (DSC)"), parent)
{
    setObjectName(QStringLiteral("FrameDsc"));
    auto *layout = new QVBoxLayout(this);
    LblDes = new QLabel(QStringLiteral("Description:"), this);
    LblDes->setObjectName(QStringLiteral("LblDes"));
    TextDSC = new QPlainTextEdit(this);
    TextDSC->setObjectName(QStringLiteral("TextDSC"));
    TextDSC->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextDSC->setTabChangesFocus(true);
    LblDes->setBuddy(TextDSC);
    layout->addWidget(LblDes);
    layout->addWidget(TextDSC, 1);
    connect(TextDSC, &QPlainTextEdit::textChanged, this, &DscPanel::changed);
}

QString DscPanel::text() const
{
    // The raw text keeps every character as typed or read (the plain-text view would turn a
    // no-break space into a space); only the paragraph breaks become line breaks.
    QString text = TextDSC->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void DscPanel::setText(const QString &text) { TextDSC->setPlainText(text); }
