#include "levelscreen/ban.h"

#include "drill/drillsession.h"
#include "records/statistics.h"

namespace vc {

bool evaluateBan(const BanInput& input, StartButtons& buttons)
{
    const int n = buttons.levelCount();
    if (n < 1)
        return false;
    auto practice = [&](int level) {
        return static_cast<size_t>(level) < input.levelNames.size() && isPracticeLevel(input.levelNames[static_cast<size_t>(level)]);
    };
    auto set = [](std::vector<bool>& flags, int level, bool on) { flags[static_cast<size_t>(level)] = on; };

    const bool targetLevelCleared = isLevelCleared(input.standards, input.statistics, n, input.student);

    set(buttons.enabled, 1, true);
    bool earlierFailed = false;
    for (int i = 1; i <= n; ++i) {
        if (practice(i))
            set(buttons.enabled, i, true);
        const StandardsRow* next = input.standards.level(i + 1);
        const bool passes = (next && next->clearPoints == 9999) || input.teacher
            || isLevelCleared(input.standards, input.statistics, i, input.student) || (practice(i) && !earlierFailed);
        if (!passes) {
            earlierFailed = true;
            continue;
        }
        if (i < n) {
            set(buttons.enabled, i + 1, true);
            set(buttons.covered, i + 1, false);
            set(buttons.covered, i,
                !practice(i) && isOverPractised(input.standards, input.statistics, i, input.student) && !targetLevelCleared);
        }
    }
    return targetLevelCleared;
}

} // namespace vc
