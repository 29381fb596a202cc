#pragma once
// PlanWindow "詳細情報": one bar's work order with its related orders, its
// components and its member orders. The planner edits the schedule and
// quantities; every Enter recomputes the dependent boxes (the rules of
// reschedule/DetailForm), and "変更完了" hands the result to the session as
// one undo step. "キャンセル", Esc and the close box leave the plan as it was.

#include "reschedule/DetailForm.h"
#include "session/PlanSession.h"

#include <QDialog>
#include <QLineEdit>
#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace windows {

// A box of the detail windows: gaining the focus or a click selects its whole text.
class SelectAllEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};

class PlanWindow : public QDialog {
    Q_OBJECT
public:
    PlanWindow(session::PlanSession& session, reschedule::DetailForm form, QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Opens the window for a record and waits until it closes; false when the
    // record cannot be shown (its reads failed, told) or nothing was applied.
    static bool showFor(session::PlanSession& session, int recordNo, QWidget* parent);

    const reschedule::DetailForm& form() const { return form_; }
    // "変更完了" went through and the plan took the window's values.
    bool applied() const { return applied_; }

    // The boxes, by the names the plant knows them by.
    SelectAllEdit *Text14, *Text4, *Text17, *Text38, *Text18;
    SelectAllEdit *txt_Before_EndYMD, *txt_Before_EndTIME, *txt_After_StartYMD, *txt_After_StartTIME;
    SelectAllEdit *Text7, *Text1, *Text8, *Text6, *Text11;
    QComboBox *Text12, *Text5;
    SelectAllEdit *Text29, *Text10, *Text2, *Text23, *Text22, *Text15, *Text40, *Text9, *Text25, *Text24, *Text26;
    SelectAllEdit *Text28, *Text27, *Text3, *Text13, *Text19, *Text16, *Text30, *Text20, *Text21, *Text42, *Text39, *Text37;
    QListWidget *JList, *KList, *ZList, *NList, *GList;
    QTabWidget* ListTabs;
    QPushButton *Command1, *Command3, *Command8;

    // The tab index Enter steps by (0 to 14); -1 for a box without one.
    int tabIndexOf(const QWidget* box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    SelectAllEdit* box(const char* name, bool editable, int width);
    QComboBox* dropDown(const char* name, int width);
    void setTabIndex(QWidget* box, int index);
    QWidget* widgetOf(reschedule::DetailBox box) const;
    std::optional<reschedule::DetailBox> ruleOf(const QWidget* box) const;

    void fillBoxes();
    void readBoxes();
    void fillLists();
    void fillComponents();
    void fillMembers();
    void showVariant();
    void onEnter(QWidget* box);
    void onLeave(QWidget* box);
    void focusBox(QWidget* box);
    void moveToNextBox(QWidget* from);
    void onVariantChosen(int row);
    void onComplete();
    void onSplit();

    session::PlanSession& session_;
    reschedule::DetailForm form_;
    bool applied_ = false;
    bool fillingVariants_ = false;
    std::map<const QWidget*, int> tabIndex_;
};

}  // namespace windows
