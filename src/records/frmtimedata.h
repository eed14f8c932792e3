#pragma once
#include "records/standardseditor.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vc {

struct AppState;

// The standards editor: the per-level standards in a grid, typed into an
// edit box laid over the current cell, with the spread of the school's times
// on the current level beside it.
class FrmTimeData : public QWidget {
    Q_OBJECT
public:
    explicit FrmTimeData(AppState& state, QWidget* parent = nullptr);

    void Form_Load();
    // The start steps: reload the grid, row 1 column 1 current, the edit box
    // over it, the distribution of level 1.
    void Form_Activate();

    void loadStandardsGrid();
    void placeEditBox();
    void loadEditBox();
    void refreshDistribution();
    void MSFlexGrid1_Click(int row, int column);  // grid row and column as the model counts them
    void Command2_Click();  // "元に戻す"
    void Command3_Click();  // "更新記録"
    void Command4_Click();  // "戻る"
    void Option1_Click(int index);

    const StandardsGrid& grid() const { return grid_; }

    QWidget* Picture1 = nullptr;  // main panel
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QTableWidget* MSFlexGrid1 = nullptr;
    QLineEdit* Gridinputtext = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QWidget* Picture3 = nullptr;  // distribution panel
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QListWidget* List3 = nullptr;
    QListWidget* List4 = nullptr;
    QRadioButton* Option1_0 = nullptr;
    QRadioButton* Option1_1 = nullptr;
    QLabel* Picture6 = nullptr;  // wait panel

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString standardsPath() const;
    void showGrid();
    void paintCell(int row, int column);
    // Saves; false (the message shown) when the file could not be written.
    bool save();
    void storeEditBox(const QString& text);
    void showWaitPanel(bool on);

    AppState& state_;
    StandardsGrid grid_;
    bool loading_ = false;  // the edit box is being filled from the grid
};

} // namespace vc
