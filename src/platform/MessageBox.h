#pragma once

#include <QString>

namespace fareboard {

// Modal message boxes. Behind an interface so that tests can answer them instead of a person.
class MessageBox {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageBox() = default;
    virtual Answer show(const QString& text, const QString& title, Icon icon = Icon::None,
                        Buttons buttons = Buttons::Ok) = 0;
};

}  // namespace fareboard
