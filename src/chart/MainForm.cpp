#include "chart/MainForm.h"

#include "chart/BarPainter.h"
#include "chart/ChartSplitter.h"
#include "chart/ChartState.h"
#include "chart/GanttView.h"
#include "chart/MessageBoxPrompt.h"
#include "chart/MessageBoxes.h"
#include "chart/PlanDataGrid.h"
#include "chart/PlanGridModel.h"
#include "store/loading/PlanLoading.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace chart {

MainForm::MainForm(core::ProgramSettings& settings, db::Database& db, QWidget* parent)
    : QMainWindow(parent), settings_(settings)
{
    setObjectName(QStringLiteral("MainForm"));
    session_ = std::make_unique<session::PlanSession>(settings_, &db);
    state_ = std::make_unique<ChartState>(settings_, session_->planner(), session_->plan());
    gridModel_ = std::make_unique<PlanGridModel>(session_->plan(), session_->planner().rows);
    messagePrompt_ = std::make_unique<MessageBoxPrompt>(this);
    session_->setPrompt(messagePrompt_.get());
    buildLayout();
    buildMenus();
    buildBoard();
    connectSession();
    connect(this, &MainForm::detailRequested, this, &MainForm::showDetail);
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
    // The views hold references into the session's plan: they go first.
    session_->disconnect(this);
}

QString MainForm::caption() const
{
    QString text = QStringLiteral("工程計画立案支援システム　[Velmoran Ver.%1.%2.%3]")
                       .arg(PLANNER_VERSION_MAJOR).arg(PLANNER_VERSION_MINOR).arg(PLANNER_VERSION_REVISION);
    if (settings_.inquiryMode()) text += QStringLiteral("(照会モード)");
    return text;
}

core::Prompt& MainForm::prompt() { return promptOverride_ ? *promptOverride_ : *messagePrompt_; }

void MainForm::setPrompt(core::Prompt* prompt)
{
    promptOverride_ = prompt;
    session_->setPrompt(&this->prompt());
}

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
    classButton = button(QStringLiteral("KTbun"), settings_.processClassLine.isEmpty() ? QStringLiteral("工程分類") : settings_.processClassLine);
    classButton->setToolTip(QStringLiteral("工程分類を選び直します"));
    commands->addSpacing(16);
    oneDayButton = button(QStringLiteral("ComDay"), QStringLiteral("１日"));
    threeDaysButton = button(QStringLiteral("Com3Day"), QStringLiteral("３日"));
    weekButton = button(QStringLiteral("ComWeek"), QStringLiteral("１週間"));
    fourWeeksButton = button(QStringLiteral("ComMonth"), QStringLiteral("４週間"));
    displayModeButton = button(QStringLiteral("ComHyoujiMode"), core::displayModeCaption(core::DisplayMode::Week));
    displayModeButton->setMinimumWidth(110);
    commands->addSpacing(16);
    machineSelectionButton = button(QStringLiteral("ComKikaiSelect"), QStringLiteral("機械選択"));
    machineSelectionButton->setToolTip(QStringLiteral("チャートに表示する機械を選びます"));
    commands->addStretch(1);
    saveButton = button(QStringLiteral("ComHozon"), QStringLiteral("保存"));
    saveButton->setMinimumWidth(90);
    column->addLayout(commands);
    column->addLayout(buildSearchStrip());

    gantt_ = new GanttView(*state_, central);
    grid_ = new PlanDataGrid(*gridModel_, central);
    auto* splitter = new ChartSplitter(gantt_, grid_, central);
    // The divider stays where the planner put it for the rest of the run, also
    // in the window built for the next class.
    splitter->setChosenRows(settings_.ChartRows);
    connect(splitter, &ChartSplitter::rowsChosen, this, [this](int rows) { settings_.ChartRows = rows; });
    column->addWidget(splitter, 1);
    setCentralWidget(central);

    connect(classButton, &QPushButton::clicked, this, &MainForm::chooseAnotherClass);
    connect(oneDayButton, &QPushButton::clicked, this, &MainForm::showOneDay);
    connect(threeDaysButton, &QPushButton::clicked, this, &MainForm::showThreeDays);
    connect(weekButton, &QPushButton::clicked, this, &MainForm::showWeek);
    connect(fourWeeksButton, &QPushButton::clicked, this, &MainForm::showFourWeeks);
    connect(displayModeButton, &QPushButton::clicked, this, &MainForm::cycleDisplayMode);
    connect(saveButton, &QPushButton::clicked, this, &MainForm::save);
    connect(machineSelectionButton, &QPushButton::clicked, this, &MainForm::machineSelectionRequested);
    connect(gantt_, &GanttView::displayModeChanged, this, [this](core::DisplayMode mode) { displayModeButton->setText(core::displayModeCaption(mode)); });
    connect(gantt_, &GanttView::barClicked, this, &MainForm::onBarClicked);
    connect(gantt_, &GanttView::barContextMenu, this, &MainForm::onBarContextMenu);
    connect(grid_, &PlanDataGrid::recordSelected, this, &MainForm::onGridRecordSelected);
}

void MainForm::buildMenus()
{
    buildFileMenu();
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    actUndo = edit->addAction(QStringLiteral("元に戻す"), this, &MainForm::undo);
    actUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo = edit->addAction(QStringLiteral("やり直し"), this, &MainForm::redo);
    actRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));

    barMenu = new QMenu(this);
    barMenu->setObjectName(QStringLiteral("mnuPopup"));
    detailAction = barMenu->addAction(QStringLiteral("詳細情報"));
    detailAction->setObjectName(QStringLiteral("popDetail"));
    detailAction->setEnabled(false);  // until a detail window is installed
    connect(detailAction, &QAction::triggered, this, [this] { showDetail(session_->plan().findByBarIndex(PopupBarIndex)); });
    orderGanttAction = barMenu->addAction(QStringLiteral("生産計画別ガントチャート"));
    orderGanttAction->setObjectName(QStringLiteral("popOrder"));
    orderGanttAction->setEnabled(false);  // until the order Gantt window is handed in
    connect(orderGanttAction, &QAction::triggered, this, [this] {
        const int rec = session_->plan().findByBarIndex(PopupBarIndex);
        if (rec != 0 && openOrderGantt_) openOrderGantt_(rec);
    });
}

void MainForm::setScheduleListOpener(std::function<void()> open)
{
    openScheduleList_ = std::move(open);
    scheduleListButton->setEnabled(bool(openScheduleList_));
}

void MainForm::setOrderGanttOpener(std::function<void(int recordNo)> open)
{
    openOrderGantt_ = std::move(open);
    orderGanttAction->setEnabled(bool(openOrderGantt_));
}

bool MainForm::load(const std::function<void(const QString&)>& progress)
{
    try {
        session_->load(progress);
    } catch (const store::BreakMasterEmpty&) {
        return false;  // the planner has been told; the program ends
    } catch (const db::Error& e) {
        const QString why = e.message.isEmpty() ? QString::fromUtf8(e.what()) : e.message;
        showMessage(this, QMessageBox::Critical, windowTitle(), QStringLiteral("計画データを読み込めません。\n%1").arg(why));
        return false;
    }
    return true;
}

void MainForm::showPlan() { session_->adoptLoadedPlan(); }

// A new plan: every bar, the grid and the scroll ranges from scratch.
void MainForm::redrawEverything()
{
    state_->setSelectedRecord(0);
    state_->refreshAll();
    planGridRefresh();
    gantt_->refreshLayout();
    gantt_->showWeek();  // display mode 3
    refreshOffCalendar();
    updateSaveButton();
}

void MainForm::showOneDay() { gantt_->showOneDay(); }
void MainForm::showThreeDays() { gantt_->showThreeDays(); }
void MainForm::showWeek() { gantt_->showWeek(); }
void MainForm::showFourWeeks() { gantt_->showFourWeeks(); }
core::DisplayMode MainForm::displayMode() const { return gantt_->displayMode(); }

void MainForm::cycleDisplayMode() { gantt_->setDisplayMode(core::nextDisplayMode(gantt_->displayMode())); }

void MainForm::planGridRefresh()
{
    grid_->planGridRefresh();
    updateListCount();
}

void MainForm::updateSaveButton()
{
    // Every step ends here: only what differs is set (each setter notifies menus and styles).
    const auto follow = [](auto* control, bool enabled) {
        if (control->isEnabled() != enabled) control->setEnabled(enabled);
    };
    follow(saveButton, session_->canSave());
    follow(actUndo, session_->canUndo());
    follow(actRedo, session_->canRedo());
}

bool MainForm::mayDiscardChanges()
{
    return !session_->canSave() || prompt().askYesNo(QStringLiteral("変更を保存せずに破棄しますか？"), {}, false);
}

void MainForm::chooseAnotherClass()
{
    if (mayDiscardChanges()) emit reselectRequested();
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (mayDiscardChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainForm::onBarClicked(int recordNo) { grid_->selectRecord(recordNo); }

void MainForm::onGridRecordSelected(int recordNo)
{
    state_->setSelectedRecord(recordNo);
    gantt_->scrollToRecord(recordNo);
    gantt_->repaintChart();
}

void MainForm::showRecord(int recordNo)
{
    // A set member has no bar of its own: its representative's stands for it.
    int bar = recordNo;
    if (recordNo >= 2 && recordNo <= session_->plan().size() && session_->plan()[recordNo].isSetMember)
        for (int i = 2; i <= session_->plan().size(); ++i) {
            const plan::PlanRecord& r = session_->plan()[i];
            if (r.orderNo == session_->plan()[recordNo].setRepOrderNo && !r.isHidden()) {
                bar = i;
                break;
            }
        }
    grid_->selectRecord(recordNo);
    onGridRecordSelected(bar);
}

void MainForm::onBarContextMenu(int recordNo, QPoint globalPos, QPoint) { showPopup(recordNo, globalPos); }

void MainForm::showPopup(int recordNo, QPoint globalPos)
{
    PopupBarIndex = session_->plan()[recordNo].barIndex;
    orderGanttAction->setVisible(session_->plan()[recordNo].memberCount != 0);
    barMenu->popup(globalPos);
}

void MainForm::undo() { session_->undo(); }

void MainForm::redo() { session_->redo(); }

}  // namespace chart
