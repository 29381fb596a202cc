#include "chart/MainForm.h"

#include "chart/BarPainter.h"
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MessageBoxPrompt.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"
#include "plan/PlanHistory.h"
#include "plan/loading/PlanSession.h"
#include "reschedule/MasterLookup.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace chart {

MainForm::MainForm(core::ProgramSettings& settings, db::Database& db, QWidget* parent)
    : QMainWindow(parent), settings_(settings), db_(db)
{
    setObjectName(QStringLiteral("MainForm"));
    history_ = std::make_unique<plan::PlanHistory>(plan_);
    state_ = std::make_unique<ChartState>(settings_, planner_, plan_);
    gridModel_ = std::make_unique<PlanGridModel>(plan_, planner_.rows);
    messagePrompt_ = std::make_unique<MessageBoxPrompt>(this);
    buildLayout();
    buildMenus();
    connectRules();
    setWindowTitle(caption());
    // The window keeps the size the plant configured (twips).
    if (settings_.MainWidth > 0 && settings_.MainHeight > 0)
        resize(settings_.MainWidth / core::TwipsPerPixel, settings_.MainHeight / core::TwipsPerPixel);
    else
        resize(1280, 860);
    updateSaveButton();
}

MainForm::~MainForm()
{
    // The history detaches itself from the plan table it watches.
    history_.reset();
}

QString MainForm::caption() const
{
    QString text = QStringLiteral("工程計画立案支援システム　[Velmoran Ver.%1.%2.%3]")
                       .arg(PLANNER_VERSION_MAJOR).arg(PLANNER_VERSION_MINOR).arg(PLANNER_VERSION_REVISION);
    if (settings_.inquiryMode()) text += QStringLiteral("(照会モード)");
    return text;
}

core::Prompt& MainForm::prompt() { return promptOverride_ ? *promptOverride_ : *messagePrompt_; }

void MainForm::buildLayout()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* commands = new QHBoxLayout;
    const auto button = [this, commands](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(chartFont(13));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        commands->addWidget(b);
        return b;
    };
    KTbun = button(QStringLiteral("KTbun"), settings_.processClassLine.isEmpty() ? QStringLiteral("工程分類") : settings_.processClassLine);
    KTbun->setToolTip(QStringLiteral("工程分類を選び直します"));
    commands->addSpacing(16);
    ComDay = button(QStringLiteral("ComDay"), QStringLiteral("１日"));
    Com3Day = button(QStringLiteral("Com3Day"), QStringLiteral("３日"));
    ComWeek = button(QStringLiteral("ComWeek"), QStringLiteral("１週間"));
    ComMonth = button(QStringLiteral("ComMonth"), QStringLiteral("４週間"));
    ComHyoujiMode = button(QStringLiteral("ComHyoujiMode"), core::displayModeCaption(3));
    ComHyoujiMode->setMinimumWidth(110);
    commands->addStretch(1);
    ComHozon = button(QStringLiteral("ComHozon"), QStringLiteral("保存"));
    ComHozon->setMinimumWidth(90);
    column->addLayout(commands);

    gantt_ = new GanttView(*state_, central);
    column->addWidget(gantt_);
    grid_ = new PlanDataGrid(*gridModel_, central);
    column->addWidget(grid_, 1);
    setCentralWidget(central);

    connect(KTbun, &QPushButton::clicked, this, &MainForm::KTbun_Click);
    connect(ComDay, &QPushButton::clicked, this, &MainForm::DispDay);
    connect(Com3Day, &QPushButton::clicked, this, &MainForm::Disp3Day);
    connect(ComWeek, &QPushButton::clicked, this, &MainForm::DispWeek);
    connect(ComMonth, &QPushButton::clicked, this, &MainForm::DispMonth);
    connect(ComHyoujiMode, &QPushButton::clicked, this, &MainForm::ComHyoujiMode_Click);
    connect(ComHozon, &QPushButton::clicked, this, &MainForm::ComHozon_Click);
    connect(gantt_, &GanttView::displayModeChanged, this, [this](int mode) { ComHyoujiMode->setText(core::displayModeCaption(mode)); });
    connect(gantt_, &GanttView::barClicked, this, &MainForm::onBarClicked);
    connect(gantt_, &GanttView::barContextMenu, this, &MainForm::onBarContextMenu);
    connect(grid_, &PlanDataGrid::recordSelected, this, &MainForm::onGridRecordSelected);
}

void MainForm::buildMenus()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    actUndo = edit->addAction(QStringLiteral("元に戻す"), this, &MainForm::undo);
    actUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo = edit->addAction(QStringLiteral("やり直し"), this, &MainForm::redo);
    actRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));

    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    popDetail = mnuPopup->addAction(QStringLiteral("詳細情報"));
    popDetail->setObjectName(QStringLiteral("popDetail"));
    popDetail->setEnabled(false);  // the order detail window comes with its own change
    popOrder = mnuPopup->addAction(QStringLiteral("生産計画別ガントチャート"));
    popOrder->setObjectName(QStringLiteral("popOrder"));
}

bool MainForm::load(const std::function<void(const QString&)>& progress)
{
    try {
        plan::loading::loadAndArrange(db_, settings_, planner_, plan_, prompt(), progress);
    } catch (const plan::loading::BreakMasterEmpty&) {
        return false;  // the planner has been told; the program ends
    } catch (const db::Error& e) {
        QMessageBox::critical(this, windowTitle(), e.message.isEmpty() ? QString::fromUtf8(e.what()) : e.message);
        return false;
    }
    showPlan();
    return true;
}

void MainForm::showPlan()
{
    // Arranging at load is not something the planner can take back.
    history_->clear();
    history_->setClean();
    state_->setSelectedRecord(0);
    state_->refreshAll();
    FunPlanGridRefresh();
    gantt_->refreshLayout();
    gantt_->DispWeek();  // display mode 3
    updateSaveButton();
}

void MainForm::DispDay() { gantt_->DispDay(); }
void MainForm::Disp3Day() { gantt_->Disp3Day(); }
void MainForm::DispWeek() { gantt_->DispWeek(); }
void MainForm::DispMonth() { gantt_->DispMonth(); }
int MainForm::DisplayMode() const { return gantt_->DisplayMode(); }

void MainForm::ComHyoujiMode_Click() { gantt_->setDisplayMode(core::nextDisplayMode(gantt_->DisplayMode())); }

void MainForm::FunPlanGridRefresh() { grid_->FunPlanGridRefresh(); }

void MainForm::refreshAfterChange()
{
    state_->refreshAll();
    FunPlanGridRefresh();
    gantt_->refreshLayout();
    updateSaveButton();
}

void MainForm::updateSaveButton()
{
    ComHozon->setEnabled(!settings_.inquiryMode() && !history_->isClean());
    actUndo->setEnabled(history_->canUndo());
    actRedo->setEnabled(history_->canRedo());
}

void MainForm::KTbun_Click()
{
    if (ComHozon->isEnabled() && !prompt().askYesNo(QStringLiteral("変更を保存せずに破棄しますか？"), {}, false)) return;
    emit reselectRequested();
}

void MainForm::onBarClicked(int recordNo) { grid_->selectRecord(recordNo); }

void MainForm::onGridRecordSelected(int recordNo)
{
    state_->setSelectedRecord(recordNo);
    gantt_->scrollToRecord(recordNo);
    gantt_->repaintChart();
}

void MainForm::onBarContextMenu(int recordNo, QPoint globalPos, QPoint chartPos)
{
    PopupBarIndex = plan_[recordNo].barIndex;
    PopupX = chartPos.x() * core::TwipsPerPixel;
    PopupY = chartPos.y() * core::TwipsPerPixel;
    popOrder->setVisible(plan_[recordNo].memberCount != 0);
    mnuPopup->popup(globalPos);
}

void MainForm::undo()
{
    if (!history_->undo()) return;
    refreshAfterChange();
}

void MainForm::redo()
{
    if (!history_->redo()) return;
    refreshAfterChange();
}

}  // namespace chart
