#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the editor goes through here, captioned with the program title. Tests
// install a handler that records the box and gives the answer.
namespace MessageBox {

enum class Icon { None, Critical, Information };
// YesNoDefaultNo: a question whose safe answer is No (Enter answers No).
enum class Buttons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct Request
{
    Icon icon;
    Buttons buttons;
    QString caption;
    QString text;
    QString checkBox = {};     // the text of a check box under the message (empty: none)
    bool *checked = nullptr;   // where its state goes when the box is answered
};

using Handler = std::function<Answer(const Request &)>;

// Shows the box modally (over `parent` when given) and waits for the answer. Closing the box
// answers Cancel where there is a Cancel button and Ok otherwise.
Answer show(QWidget *parent, Icon icon, Buttons buttons, const QString &text);
// The same with a check box under the message ("Do not show this again"), unticked at first;
// `checked` says whether the user ticked it.
Answer show(QWidget *parent, Icon icon, Buttons buttons, const QString &text, const QString &checkBox, bool *checked);

// Replaces the real boxes (tests); an empty handler restores them.
void setHandler(Handler handler);

// The real box, without the handler.
Answer showReal(QWidget *parent, const Request &request);

} // namespace MessageBox
