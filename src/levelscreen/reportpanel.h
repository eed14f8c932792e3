#pragma once
#include "levelscreen/ranking.h"

#include <QFrame>
#include <QImage>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace vc {

struct AppState;

// The report panel of the level screen (Picture11): the student's report
// with its progress graph on the picture Picture12, the student list List2
// and the level list List3 to choose from, and "表示"/"印刷" to draw it on
// the picture or print it.
class ReportPanel : public QFrame {
    Q_OBJECT
public:
    ReportPanel(AppState& state, QWidget* parent);

    QLabel* Picture12 = nullptr;
    QListWidget* List2 = nullptr;  // students
    QListWidget* List3 = nullptr;  // levels 1..N
    QLabel* Label27 = nullptr;     // "ﾚﾍﾞﾙ"
    std::array<QPushButton*, 2> Command24{};  // "表示", "印刷"
    QPushButton* Command25 = nullptr;         // "他の人のデータを見る"
    QPushButton* Command18 = nullptr;         // "戻る"

    // Report settings.
    qint16 reportStudent = 0;
    int reportPeriod = 3650;
    int baseFontSize = 6;
    // The level screen's grade selector and last points order, read at each drawing.
    std::function<QString()> gradeFilter;
    std::function<RankingOrder()> pointsOrder;

    // Refills the student list and the level list 1..levelCount; the
    // report's student becomes the current student.
    void prepare(const QStringList& students, int levelCount);

    void Command17_Click();  // "グラフ" on the level screen
    void Command25_Click();
    void List2_Click();
    void List3_Click();
    void Command24_Click(int index);
    void Command18_Click();
    // Draws the report: 0 on the picture, 1 on paper (one job).
    void Command21_Click(int output);

    // The picture as last drawn.
    const QImage& picture() const { return picture_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    void showError(const QString& message);

    AppState& state_;
    QScrollArea* scroll_ = nullptr;
    QImage picture_;
};

} // namespace vc
