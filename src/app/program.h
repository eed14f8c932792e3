#pragma once

class QString;

namespace vc {

struct AppState;
class AppNavigator;
class Firstfrm;

// Shows the splash and arms its timer; on the first tick the start-up work
// runs and the name-selection screen opens (or the program ends on a data
// error, with the message naming the file). Returns the splash, which deletes
// itself once the name-selection screen is up.
Firstfrm* startProgram(AppState& state, AppNavigator& navigator, const QString& programFolder);

} // namespace vc
