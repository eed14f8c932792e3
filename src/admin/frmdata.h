#pragma once
#include "admin/resultsadmin.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace vc {

struct AppState;

// The results administration screen: every stored run in a list; a double
// click opens the editor, where the teacher gives the run another student or
// time, or deletes it. Changes go through the results file's lock and are
// refused when the list no longer matches the file.
class FrmData : public QWidget {
    Q_OBJECT
public:
    explicit FrmData(AppState& state, QWidget* parent = nullptr);

    // Centres the panels, shows the screen and builds the list.
    void Form_Load();
    // Roster pass, then one line per stored record.
    void buildResultsList();

    void List1_DblClick(int row);
    void List1_Click();
    void Combo1_Click();
    void VScroll1_Change(int value);
    void Command2_Click();  // "変更して記録"
    void Command3_Click();  // "消去"
    void Command4_Click();  // "戻る"
    void Command5_Click();  // "CSV保存"

    // Where "CSV保存" writes; the documents folder's Vocarimo subfolder unless set.
    void setExportFolder(const QString& folder) { exportFolder_ = folder; }
    const std::vector<AdminRow>& rows() const { return rows_; }

    QListWidget* List1 = nullptr;
    QLabel* Label5 = nullptr;
    QWidget* Picture3 = nullptr;  // the editor panel
    QLabel* Label1 = nullptr;
    QLabel* Label2_1 = nullptr;
    QLabel* Label2_2 = nullptr;
    QLabel* Label2_4 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text1_1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QWidget* Picture1 = nullptr;  // shown while the screen closes

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString resultsPath() const;
    AdminSchool school() const;
    void showError(const QString& text);
    // The list no longer matches the file: say so and rebuild it.
    void listWasStale();
    void closeEditor();

    AppState& state_;
    QWidget* mainPanel_ = nullptr;
    AdminRoster roster_;
    std::vector<AdminRow> rows_;
    // The run the editor shows and the row that was double-clicked (from 1).
    AdminRow editing_;
    int rememberedRow_ = 0;
    QString exportFolder_;
};

} // namespace vc
