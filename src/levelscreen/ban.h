#pragma once
#include <QString>
#include <vector>

namespace vc {

struct StandardsTable;
class Statistics;

// The start buttons of the level screen, indexed 1..N (entry 0 unused): which
// are enabled and which lie under the "やりすぎ禁止" cover. The evaluation
// leaves some entries as they were, so the screen keeps one of these for as
// long as it is open.
struct StartButtons {
    std::vector<bool> enabled;
    std::vector<bool> covered;
    explicit StartButtons(int levelCount = 0)
        : enabled(static_cast<size_t>(levelCount) + 1, true), covered(static_cast<size_t>(levelCount) + 1, false) {}
    int levelCount() const { return static_cast<int>(enabled.size()) - 1; }
};

struct BanInput {
    const StandardsTable& standards;
    const Statistics& statistics;
    int student = 0;
    bool teacher = false;
    // Level names 1..N (entry 0 unused); a name containing "練" is a practice level.
    const std::vector<QString>& levelNames;
};

// The over-practice ban. Walks the levels in order: a level passes when the
// next level's clearPoints is 9999, the student is a teacher, the student has
// cleared it within the judgement period, or it is a practice level with no
// failed level before it. A passed level enables the next one and takes its
// cover away; it is itself covered when it is over-practised, unless it is a
// practice level or the final level is already cleared. A level that does not
// pass leaves its own cover and the next one's as they are. The final level is
// never covered. Returns targetLevelCleared: the final level is cleared.
bool evaluateBan(const BanInput& input, StartButtons& buttons);

} // namespace vc
