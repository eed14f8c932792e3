#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace vc {

// The view settings of the level screen's results views and their texts.

enum class ViewKind { Unset = 0, Time = 1, Points = 2 };
enum class PointsOrder { Unset = 0, Total = 1, Today = 2 };

struct ViewSettings {
    ViewKind viewKind = ViewKind::Unset;
    PointsOrder pointsOrder = PointsOrder::Unset;
    int period = 0;         // 1..5, the period selector's item + 1
    bool suppress = false;  // while the screen becomes active
};

// The view-kind options Option2(0..2).
const std::array<QString, 3>& viewKindCaptions();
// The order options Option1(1..3): in the time view, in the points view, and
// right after the screen becomes active.
const std::array<QString, 3>& timeOrderCaptions();
const std::array<QString, 3>& pointsOrderCaptions();
const std::array<QString, 3>& activationOrderCaptions();

inline const QString kHeadlineTotalPoints = QStringLiteral("獲得ポイント（今まで順位）");
inline const QString kHeadlineTodayPoints = QStringLiteral("獲得ポイント（今日の順位）");
inline const QString kHeadlineBestTime = QStringLiteral("ベスト成績");
inline const QString kHeadingToday = QStringLiteral("今日");
inline const QString kHeadingSoFar = QStringLiteral("今まで");

// The period selector: its items in order, and the text it starts with.
const QStringList& periodItems();
inline constexpr int kDefaultPeriod = 3;
QString defaultPeriodText();
// The period of a chosen item (0-based): 1..5.
inline constexpr int periodOfItem(int item) { return item + 1; }

} // namespace vc
