#pragma once
#include "levelscreen/views.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

struct AppState;

// The run lists of the level screen: single runs read from the results file
// instead of rankings. The screen asks for the lines of every column and
// does the rest (headings, headline, selection, which controls show).
enum class RunList {
    Today,     // today's runs of the school, time view order 2
    Period,    // the runs of the selected period, order 3 of either view
    Personal,  // the current student's runs, "個人ﾀｲﾑ"
};

struct RunListRequest {
    RunList list = RunList::Today;
    ViewKind viewKind = ViewKind::Time;
    int period = kDefaultPeriod;  // 1..5
    QString gradeFilter;
};

// The headline each list sets above the order options.
QString runListHeadline(RunList list);

// The lines for each level column 1..levelCount (entry 0 unused), in the
// order they are added; the screen's lists sort them. The results-file scan
// that builds them is still to come: every column is empty for now.
std::vector<QStringList> runListLines(const AppState& state, const RunListRequest& request);

} // namespace vc
