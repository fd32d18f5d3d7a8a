#include "ui/messagebox.h"

#include <QCheckBox>
#include <QMessageBox>

namespace MessageBox {

namespace {
Handler &handler()
{
    static Handler instance;
    return instance;
}
} // namespace

Answer show(QWidget *parent, Icon icon, Buttons buttons, const QString &text)
{
    return show(parent, icon, buttons, text, {}, nullptr);
}

Answer show(QWidget *parent, Icon icon, Buttons buttons, const QString &text, const QString &checkBox, bool *checked)
{
    if (checked)
        *checked = false;
    const Request request{icon, buttons, QStringLiteral("Brisquel"), text, checkBox, checked};
    if (handler())
        return handler()(request);
    return showReal(parent, request);
}

void setHandler(Handler newHandler) { handler() = std::move(newHandler); }

Answer showReal(QWidget *parent, const Request &request)
{
    QMessageBox box(parent);
    box.setWindowTitle(request.caption);
    // Texts quote file lines and paths: shown as they are, never as markup or links.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    auto *tick = request.checkBox.isEmpty() ? nullptr : new QCheckBox(request.checkBox, &box);
    if (tick) {
        tick->setObjectName(QStringLiteral("doNotShowAgainBox"));
        box.setCheckBox(tick);
    }
    // Its state, however the box is answered or closed.
    const auto answered = [&request, tick](Answer answer) {
        if (tick && request.checked)
            *request.checked = tick->isChecked();
        return answer;
    };
    switch (request.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (request.buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return answered(Answer::Yes);
    case QMessageBox::No: return answered(Answer::No);
    case QMessageBox::Ok: return answered(Answer::Ok);
    default: return answered(request.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }
}

} // namespace MessageBox
