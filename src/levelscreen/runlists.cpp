#include "levelscreen/runlists.h"

#include "startup/appstate.h"

namespace vc {

QString runListHeadline(RunList list)
{
    switch (list) {
    case RunList::Today: return QStringLiteral("本日の成績");
    case RunList::Period: return QString();
    case RunList::Personal: return QStringLiteral("個人別ﾀｲﾑ");
    }
    return {};
}

std::vector<QStringList> runListLines(const AppState& state, const RunListRequest&)
{
    return std::vector<QStringList>(static_cast<size_t>(std::max<int>(state.course.LevelCount, 0)) + 1);
}

} // namespace vc
