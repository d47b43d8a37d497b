#pragma once

#include "MessageBox.h"

namespace fareboard {

class QtMessageBox final : public MessageBox {
public:
    Answer show(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
};

}  // namespace fareboard
