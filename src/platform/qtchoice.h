#pragma once
#include <functional>

class QAbstractButton;
class QObject;

namespace vc {

// Runs `handler` once each time the option button or check box is chosen,
// however that happens: a click, a key, or a screen reader toggling it over
// the accessibility bus (which checks it without any click). A click on an
// option already chosen runs it too, as a click always has. Code that sets
// the button itself blocks its signals (QSignalBlocker) and calls the handler
// when it wants it.
void onChosen(QAbstractButton* button, QObject* context, std::function<void()> handler);

} // namespace vc
