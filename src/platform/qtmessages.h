#pragma once
#include "messages.h"

class QWidget;

namespace vc {

class QtMessageService : public MessageService {
public:
    Answer show(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
};

} // namespace vc
