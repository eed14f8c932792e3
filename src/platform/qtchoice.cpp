#include "qtchoice.h"

#include <QAbstractButton>
#include <memory>

namespace vc {

void onChosen(QAbstractButton* button, QObject* context, std::function<void()> handler)
{
    // A click that checks the button emits pressed, toggled, clicked in that
    // order: counting the toggles since the press tells whether the click's
    // handler already ran through toggled.
    struct Seen {
        int toggles = 0;
        int atPress = -1;
    };
    auto seen = std::make_shared<Seen>();
    QObject::connect(button, &QAbstractButton::pressed, context, [seen] { seen->atPress = seen->toggles; });
    QObject::connect(button, &QAbstractButton::toggled, context, [seen, handler](bool on) {
        if (!on)
            return;
        ++seen->toggles;
        handler();
    });
    QObject::connect(button, &QAbstractButton::clicked, context, [seen, handler] {
        const bool ranOnToggle = seen->atPress >= 0 && seen->toggles != seen->atPress;
        seen->atPress = -1;
        if (!ranOnToggle)
            handler();
    });
}

} // namespace vc
