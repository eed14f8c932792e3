#include "listorder.h"

#include <algorithm>

namespace vc {

bool listOrderLess(const QString& a, const QString& b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

void sortListTexts(QStringList& texts)
{
    std::stable_sort(texts.begin(), texts.end(), listOrderLess);
}

} // namespace vc
