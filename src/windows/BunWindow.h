#pragma once
// BunWindow "手配分割": the planner gives, lot by lot, the pieces that move to
// a new bar; "分割実施" checks them, asks, and has the session split the bar
// as one undo step. "キャンセル" changes nothing.

#include "reschedule/Split.h"
#include "session/PlanSession.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace windows {

class BunWindow : public QDialog {
    Q_OBJECT
public:
    BunWindow(session::PlanSession& session, int recordNo, QWidget* parent = nullptr);

    // The split went through.
    bool splitDone() const { return splitDone_; }
    const reschedule::SplitLots& lots() const { return lots_; }

    QListWidget *NList, *GList;  // inner and outer ring lot lines
    QLineEdit* Text1;            // 生産計画番号 of the chosen lot
    QLineEdit* Text14;           // 分割数 for the chosen lot
    QLineEdit *Text2, *Text3;    // hidden running totals of the inner and outer lines
    QPushButton *Command3, *Command1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fillLines();
    void onLineClicked(QListWidget* list, int row);
    void onCountEntered();
    void onSplit();

    session::PlanSession& session_;
    int recordNo_;
    reschedule::SplitLots lots_;
    bool splitDone_ = false;
};

}  // namespace windows
