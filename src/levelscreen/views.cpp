#include "levelscreen/views.h"

namespace vc {

const std::array<QString, 3>& viewKindCaptions()
{
    static const std::array<QString, 3> c{QStringLiteral("ﾀｲﾑ表示"), QStringLiteral("ﾎﾟｲﾝﾄ表示"), QStringLiteral("個人ﾀｲﾑ")};
    return c;
}

const std::array<QString, 3>& timeOrderCaptions()
{
    static const std::array<QString, 3> c{QStringLiteral("BEST表示"), QStringLiteral("本日のみ"), QStringLiteral("オール表示")};
    return c;
}

const std::array<QString, 3>& pointsOrderCaptions()
{
    static const std::array<QString, 3> c{QStringLiteral("合計累計"), QStringLiteral("合計本日"), QStringLiteral("すべて")};
    return c;
}

const std::array<QString, 3>& activationOrderCaptions()
{
    static const std::array<QString, 3> c{QStringLiteral("累計順"), QStringLiteral("本日順"), QStringLiteral("オール表示")};
    return c;
}

const QStringList& periodItems()
{
    // The leading blanks are ideographic spaces, part of the texts.
    static const QStringList items{QStringLiteral("　　　今週の全成績"), QStringLiteral("　　先週からの全成績"),
                                   QStringLiteral("　　１ヶ月間の全成績"), QStringLiteral("　　１年間の全成績"),
                                   QStringLiteral("　　今までの全成績")};
    return items;
}

QString defaultPeriodText() { return periodItems().at(kDefaultPeriod - 1); }

} // namespace vc
