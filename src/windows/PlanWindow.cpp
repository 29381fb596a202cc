#include "windows/PlanWindow.h"

#include "windows/BunWindow.h"
#include "windows/DetailLines.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace windows {

using reschedule::DetailBox;
using reschedule::DetailBoxes;

void SelectAllEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    // After the focus event: a click that gave the focus would otherwise place the cursor.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void SelectAllEdit::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    selectAll();
}

namespace {

// The highest tab index Enter steps to before it starts again at 0.
constexpr int kLastTabIndex = 14;

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* unit(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QListWidget* list(const char* name, QWidget* parent)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(listFont());
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return l;
}

// A list under a header line drawn in the same fixed-width font.
QWidget* listWithHeader(QListWidget* list, const QString& header, QWidget* parent)
{
    auto* w = new QWidget(parent);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* h = new QLabel(header, w);
    h->setFont(listFont());
    h->setTextFormat(Qt::PlainText);
    h->setStyleSheet(QStringLiteral("QLabel { background: #d8d8d8; padding: 1px 3px; }"));
    v->addWidget(h);
    v->addWidget(list, 1);
    return w;
}

}  // namespace

PlanWindow::PlanWindow(session::PlanSession& session, reschedule::DetailForm form, QWidget* parent)
    : QDialog(parent), session_(session), form_(std::move(form))
{
    setObjectName(QStringLiteral("PlanWindow"));
    setWindowTitle(QStringLiteral("詳細情報"));
    setModal(true);
    buildLayout();
    fillBoxes();
    fillLists();
}

PlanWindow::~PlanWindow() = default;

bool PlanWindow::showFor(session::PlanSession& session, int recordNo, QWidget* parent)
{
    std::optional<reschedule::DetailForm> form = session.openDetail(recordNo);
    if (!form) return false;
    PlanWindow w(session, std::move(*form), parent);
    w.exec();
    return w.applied();
}

SelectAllEdit* PlanWindow::box(const char* name, bool editable, int width)
{
    auto* e = new SelectAllEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMinimumWidth(width);
    e->setMaximumWidth(width);
    e->setReadOnly(!editable);
    e->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, editable ? QColor(Qt::white) : QColor(0xE0, 0xE0, 0xE0));
    e->setPalette(p);
    e->installEventFilter(this);
    return e;
}

QComboBox* PlanWindow::dropDown(const char* name, int width)
{
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    auto* e = new SelectAllEdit(c);
    c->setLineEdit(e);
    c->setMinimumWidth(width);
    c->setMaximumWidth(width);
    c->setFocusPolicy(Qt::StrongFocus);
    // Keys reach the combo box (the focus stays with it) or, sent directly, its line edit.
    c->installEventFilter(this);
    e->installEventFilter(this);
    return c;
}

void PlanWindow::setTabIndex(QWidget* w, int index) { tabIndex_[w] = index; }

int PlanWindow::tabIndexOf(const QWidget* w) const
{
    const auto it = tabIndex_.find(w);
    return it == tabIndex_.end() ? -1 : it->second;
}

void PlanWindow::buildLayout()
{
    // A set member stands where its representative stands: its schedule is not edited here.
    const bool schedule = !form_.copy.isSetMember;
    const int code = 96, date = 92, time = 72, num = 80, name = 250;

    Text14 = box("Text14", false, num);
    Text4 = box("Text4", false, num);
    Text17 = box("Text17", false, num);
    Text38 = box("Text38", false, num);
    Text18 = box("Text18", schedule, 32);
    Text18->setMaxLength(1);
    txt_Before_EndYMD = box("txt_Before_EndYMD", false, date);
    txt_Before_EndTIME = box("txt_Before_EndTIME", false, time);
    Text7 = box("Text7", schedule, date);
    Text1 = box("Text1", schedule, time);
    txt_After_StartYMD = box("txt_After_StartYMD", false, date);
    txt_After_StartTIME = box("txt_After_StartTIME", false, time);
    Text8 = box("Text8", schedule, date);
    Text6 = box("Text6", schedule, time);
    Text11 = box("Text11", false, date);
    Text12 = dropDown("Text12", 150);
    Text5 = dropDown("Text5", 150);
    Text29 = box("Text29", false, 150);
    Text10 = box("Text10", false, code);
    Text2 = box("Text2", false, name);
    Text23 = box("Text23", false, 56);
    Text22 = box("Text22", false, num);
    Text15 = box("Text15", schedule, num);
    Text40 = box("Text40", schedule, 56);
    Text9 = box("Text9", false, 160);
    Text25 = box("Text25", false, 56);
    Text24 = box("Text24", false, num);
    Text26 = box("Text26", false, num);
    Text28 = box("Text28", false, num);
    Text27 = box("Text27", false, num);
    Text3 = box("Text3", schedule, num);
    Text13 = box("Text13", schedule, num);
    Text19 = box("Text19", schedule, num);
    Text16 = box("Text16", false, num);
    Text30 = box("Text30", true, 32);
    Text30->setMaxLength(1);
    Text20 = box("Text20", false, num);
    Text21 = box("Text21", false, date);
    Text42 = box("Text42", false, num);
    Text39 = box("Text39", false, 300);
    Text37 = box("Text37", false, 40);
    if (!schedule) {
        Text12->setEnabled(false);
        Text5->setEnabled(false);
    }
    Text12->addItem(form_.copy.destCode);
    const core::RowTable& rows = session_.planner().rows;
    for (int r = rows.CalendarMachineCount + 1; r <= rows.machineRowCount(); ++r) Text12->addItem(rows.row(r).RowCode);
    Text5->addItem(QString());
    for (int r = 2; r <= rows.CalendarMachineCount; ++r) Text5->addItem(rows.row(r).RowCode);

    // Enter steps through the editable boxes in this order.
    const QList<QWidget*> order = {Text18, Text7, Text1, Text8, Text6, Text12, Text5, Text15, Text40, Text3, Text13, Text19, Text30, Text16};
    for (int k = 0; k < order.size(); ++k) setTabIndex(order[k], k);
    for (int k = 0; k + 1 < order.size() - 1; ++k) QWidget::setTabOrder(order[k], order[k + 1]);

    auto* top = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    top->addLayout(grid);

    int row = 0;
    const auto line = [&](int column, const QString& label, std::initializer_list<QWidget*> widgets) {
        grid->addWidget(caption(label, this), row, column);
        auto* h = new QHBoxLayout;
        h->setSpacing(4);
        for (QWidget* w : widgets) h->addWidget(w);
        h->addStretch(1);
        grid->addLayout(h, row, column + 1);
    };

    // Left: the order and its schedule.
    row = 0;
    line(0, QStringLiteral("手配番号"), {Text14});
    ++row;
    line(0, QStringLiteral("生産計画番号"), {Text4});
    ++row;
    line(0, QStringLiteral("計画数"), {Text17});
    ++row;
    line(0, QStringLiteral("セット品代表手配番号"), {Text38});
    ++row;
    line(0, QStringLiteral("スケジューラ固定区分"), {Text18, unit(QStringLiteral("(0:可動 1:後ろ固定 2:完全固定)"), this)});
    ++row;
    line(0, QStringLiteral("前工程の終了日付／時刻"), {txt_Before_EndYMD, txt_Before_EndTIME});
    ++row;
    line(0, QStringLiteral("開始日付/時間"), {Text7, Text1});
    ++row;
    line(0, QStringLiteral("後工程の開始日付／時刻"), {txt_After_StartYMD, txt_After_StartTIME});
    ++row;
    line(0, QStringLiteral("終了日付/時間"), {Text8, Text6});
    ++row;
    line(0, QStringLiteral("希望納期"), {Text11});
    ++row;
    line(0, QStringLiteral("指示先"), {Text12});
    ++row;
    line(0, QStringLiteral("機械/ライン"), {Text5});
    const int leftRows = row + 1;

    // Middle: the item and how it is made.
    row = 0;
    line(2, QStringLiteral("金型番号"), {Text29});
    ++row;
    line(2, QStringLiteral("品名コード"), {Text10});
    ++row;
    grid->addWidget(Text2, row, 3);
    ++row;
    line(2, QStringLiteral("順序"), {Text23});
    ++row;
    line(2, QStringLiteral("入り数"), {Text22});
    ++row;
    line(2, QStringLiteral("生産性"), {Text15, unit(QStringLiteral("秒/個"), this)});
    ++row;
    line(2, QStringLiteral("必要人員"), {Text40});
    ++row;
    line(2, QStringLiteral("工程内容"), {Text9});
    ++row;
    line(2, QStringLiteral("取　数"), {Text25});
    ++row;
    line(2, QStringLiteral("サイクル"), {Text24, unit(QStringLiteral("秒"), this)});
    ++row;
    line(2, QStringLiteral("単重"), {Text26, unit(QStringLiteral("ｇ"), this)});

    // Right: quantities and times.
    row = 0;
    line(4, QStringLiteral("バラ数"), {Text28});
    ++row;
    line(4, QStringLiteral("ケース数"), {Text27});
    ++row;
    line(4, QStringLiteral("手配数"), {Text3});
    ++row;
    line(4, QStringLiteral("段取時間"), {Text13, unit(QStringLiteral("分"), this)});
    ++row;
    line(4, QStringLiteral("作業時間"), {Text19, unit(QStringLiteral("分"), this)});
    ++row;
    line(4, QStringLiteral("合計時間"), {Text16, unit(QStringLiteral("分"), this)});
    ++row;
    line(4, QStringLiteral("受入即検収区分"), {Text30, unit(QStringLiteral("(0:検収,1:受入即検収)"), this)});
    ++row;
    line(4, QStringLiteral("実績数"), {Text20, Text21, unit(QStringLiteral("←最終実績日"), this)});
    ++row;
    line(4, QStringLiteral("実績時間"), {Text42, unit(QStringLiteral("分"), this)});
    ++row;
    line(4, QStringLiteral("備　　考"), {Text39});
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(leftRows, 1);

    // Lists: the related orders share their place with the variants.
    JList = list("JList", this);
    KList = list("KList", this);
    ZList = list("ZList", this);
    NList = list("NList", this);
    GList = list("GList", this);
    ListTabs = new QTabWidget(this);
    ListTabs->setObjectName(QStringLiteral("ListTabs"));
    ListTabs->addTab(listWithHeader(JList, relatedHeader(), this), QStringLiteral("関連受注"));
    auto* variants = new QWidget(this);
    auto* vl = new QVBoxLayout(variants);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(new QLabel(QStringLiteral("構成選択"), variants));
    chosen->addWidget(Text37);
    chosen->addStretch(1);
    vl->addLayout(chosen);
    vl->addWidget(KList, 1);
    ListTabs->addTab(variants, QStringLiteral("構成選択"));

    auto* lists = new QGridLayout;
    lists->addWidget(ListTabs, 0, 0);
    auto* parts = new QGroupBox(QStringLiteral("使用部材"), this);
    (new QVBoxLayout(parts))->addWidget(listWithHeader(ZList, componentHeader(), parts));
    lists->addWidget(parts, 0, 1);
    auto* inner = new QGroupBox(QStringLiteral("内輪"), this);
    (new QVBoxLayout(inner))->addWidget(listWithHeader(NList, memberHeader(), inner));
    auto* outer = new QGroupBox(QStringLiteral("外輪"), this);
    (new QVBoxLayout(outer))->addWidget(listWithHeader(GList, memberHeader(), outer));
    lists->addWidget(inner, 1, 0);
    lists->addWidget(outer, 1, 1);
    lists->setRowStretch(0, 3);
    lists->setRowStretch(1, 2);
    top->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("変更完了"), this);
    Command3 = new QPushButton(QStringLiteral("手配分割"), this);
    Command8 = new QPushButton(QStringLiteral("キャンセル"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command8->setObjectName(QStringLiteral("Command8"));
    buttons->addStretch(1);
    for (QPushButton* b : {Command1, Command3, Command8}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &PlanWindow::onComplete);
    connect(Command3, &QPushButton::clicked, this, &PlanWindow::onSplit);
    connect(Command8, &QPushButton::clicked, this, &PlanWindow::reject);
    connect(KList, &QListWidget::currentRowChanged, this, &PlanWindow::onVariantChosen);
    resize(1280, 900);
}

namespace {

template <typename Fn>
void eachField(PlanWindow& w, DetailBoxes& b, Fn fn)
{
    fn(w.Text14, b.orderNo);
    fn(w.Text4, b.planNo);
    fn(w.Text17, b.planQty);
    fn(w.Text38, b.setRepOrderNo);
    fn(w.Text18, b.fixKind);
    fn(w.txt_Before_EndYMD, b.beforeEndDate);
    fn(w.txt_Before_EndTIME, b.beforeEndTime);
    fn(w.Text7, b.startDate);
    fn(w.Text1, b.startTime);
    fn(w.txt_After_StartYMD, b.afterStartDate);
    fn(w.txt_After_StartTIME, b.afterStartTime);
    fn(w.Text8, b.endDate);
    fn(w.Text6, b.endTime);
    fn(w.Text11, b.initialDueDate);
    fn(w.Text29, b.mouldShortName);
    fn(w.Text10, b.itemCode);
    fn(w.Text2, b.itemName);
    fn(w.Text23, b.processSeq);
    fn(w.Text22, b.packUnitQty);
    fn(w.Text15, b.pieceSeconds);
    fn(w.Text40, b.requiredPersons);
    fn(w.Text9, b.processName);
    fn(w.Text25, b.cavities);
    fn(w.Text24, b.cycle);
    fn(w.Text26, b.shotWeight);
    fn(w.Text28, b.looseQty);
    fn(w.Text27, b.cases);
    fn(w.Text3, b.orderQty);
    fn(w.Text13, b.setupMinutes);
    fn(w.Text19, b.workMinutes);
    fn(w.Text16, b.totalMinutes);
    fn(w.Text30, b.acceptInspectKind);
    fn(w.Text20, b.receivedQty);
    fn(w.Text21, b.lastResultDate);
    fn(w.Text42, b.actualMinutes);
    fn(w.Text39, b.remarks);
    fn(w.Text37, b.variant);
}

void showText(QLineEdit* e, const QString& text)
{
    if (e->text() != text) e->setText(text);
}

void showText(QComboBox* c, const QString& text)
{
    if (c->currentText() != text) c->setEditText(text);
}

}  // namespace

void PlanWindow::fillBoxes()
{
    eachField(*this, form_.boxes, [](QLineEdit* e, const QString& text) { showText(e, text); });
    showText(Text12, form_.boxes.destCode);
    showText(Text5, form_.boxes.machineCode);
}

void PlanWindow::readBoxes()
{
    eachField(*this, form_.boxes, [](QLineEdit* e, QString& text) { text = e->text(); });
    form_.boxes.destCode = Text12->currentText();
    form_.boxes.machineCode = Text5->currentText();
}

void PlanWindow::fillLists()
{
    JList->clear();
    for (const reschedule::RelatedOrder& r : form_.related) JList->addItem(relatedLine(r));
    fillingVariants_ = true;
    KList->clear();
    for (const reschedule::BomVariant& v : form_.variants) KList->addItem(variantLine(v));
    fillingVariants_ = false;
    showVariant();
    fillComponents();
    fillMembers();
}

void PlanWindow::showVariant()
{
    fillingVariants_ = true;
    int at = -1;
    for (std::size_t k = 0; k < form_.variants.size(); ++k)
        if (QString::number(form_.variants[k].number) == form_.boxes.variant) at = int(k);
    KList->setCurrentRow(at);
    fillingVariants_ = false;
}

void PlanWindow::fillComponents()
{
    ZList->clear();
    for (const plan::Component& c : form_.copy.components) ZList->addItem(componentLine(c));
}

void PlanWindow::fillMembers()
{
    NList->clear();
    GList->clear();
    for (const plan::MemberOrder& m : form_.copy.membersA)
        if (m.orderNo != 0) NList->addItem(memberLine(m));
    for (const plan::MemberOrder& m : form_.copy.membersB)
        if (m.orderNo != 0) GList->addItem(memberLine(m));
}

QWidget* PlanWindow::widgetOf(DetailBox b) const
{
    switch (b) {
    case DetailBox::FixKind: return Text18;
    case DetailBox::StartDate: return Text7;
    case DetailBox::StartTime: return Text1;
    case DetailBox::EndDate: return Text8;
    case DetailBox::EndTime: return Text6;
    case DetailBox::DestCode: return Text12;
    case DetailBox::MachineCode: return Text5;
    case DetailBox::PieceSeconds: return Text15;
    case DetailBox::RequiredPersons: return Text40;
    case DetailBox::OrderQty: return Text3;
    case DetailBox::SetupMinutes: return Text13;
    case DetailBox::WorkMinutes: return Text19;
    case DetailBox::TotalMinutes: return Text16;
    case DetailBox::AcceptInspectKind: return Text30;
    case DetailBox::ItemCode: return Text10;
    }
    return Text7;
}

std::optional<DetailBox> PlanWindow::ruleOf(const QWidget* w) const
{
    const std::pair<const QWidget*, DetailBox> rules[] = {
        {Text7, DetailBox::StartDate},   {Text1, DetailBox::StartTime},       {Text8, DetailBox::EndDate},
        {Text6, DetailBox::EndTime},     {Text16, DetailBox::TotalMinutes},  {Text13, DetailBox::SetupMinutes},
        {Text15, DetailBox::PieceSeconds}, {Text40, DetailBox::RequiredPersons}, {Text3, DetailBox::OrderQty},
        {Text19, DetailBox::WorkMinutes}, {Text5, DetailBox::MachineCode}};
    for (const auto& [box, rule] : rules)
        if (box == w) {
            // Boxes a set member shows read-only recompute nothing.
            if (auto* e = qobject_cast<const QLineEdit*>(w); e && e->isReadOnly() && w != Text16) return std::nullopt;
            return rule;
        }
    return std::nullopt;
}

bool PlanWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return QDialog::eventFilter(watched, event);
    QWidget* boxWidget = qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onEnter(boxWidget);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        onLeave(boxWidget);
    }
    return QDialog::eventFilter(watched, event);
}

void PlanWindow::focusBox(QWidget* w)
{
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* c = qobject_cast<QComboBox*>(w)) c->lineEdit()->selectAll();
    else if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

void PlanWindow::onEnter(QWidget* w)
{
    readBoxes();
    reschedule::EnterResult r;
    if (const std::optional<DetailBox> rule = ruleOf(w)) {
        const std::vector<plan::Component> before = form_.copy.components;
        r = session_.enterDetailBox(form_, *rule);
        fillBoxes();
        if (!(form_.copy.components == before)) fillComponents();
    }
    if (!r.moveOn) {
        focusBox(widgetOf(r.focus));
        return;
    }
    moveToNextBox(w);
}

void PlanWindow::moveToNextBox(QWidget* from)
{
    int target = tabIndexOf(from) + 1;
    for (int tries = 0; tries <= kLastTabIndex + 1; ++tries, ++target) {
        if (target > kLastTabIndex) target = 0;
        for (const auto& [w, index] : tabIndex_) {
            if (index != target || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
            focusBox(const_cast<QWidget*>(w));
            return;
        }
    }
}

void PlanWindow::onLeave(QWidget* w)
{
    if (w == Text18) {
        form_.boxes.fixKind = Text18->text();
        reschedule::leaveFixKind(form_);
        showText(Text18, form_.boxes.fixKind);
    } else if (w == Text10) {
        readBoxes();
        session_.leaveDetailItemCode(form_);
        fillBoxes();
    }
}

void PlanWindow::onVariantChosen(int row)
{
    if (fillingVariants_ || row < 0 || row >= int(form_.variants.size())) return;
    readBoxes();
    if (session_.changeDetailVariant(form_, form_.variants[std::size_t(row)].number)) {
        fillBoxes();
        fillComponents();
    } else {
        showVariant();  // refused: the list shows the variant in force
    }
}

void PlanWindow::onComplete()
{
    readBoxes();
    reschedule::RuleContext& rules = session_.rules();
    if (!reschedule::quantityAccepted(rules, form_)) {
        focusBox(Text3);
        return;
    }
    const reschedule::CloseCheck check = reschedule::checkClose(rules, form_);
    if (check.kind == reschedule::CloseCheck::Kind::Refused) {
        focusBox(widgetOf(check.focus));
        return;
    }
    if (check.kind == reschedule::CloseCheck::Kind::Apply) {
        const reschedule::RuleOutcome out = session_.applyDetail(form_);
        if (out.refused) return;  // told; the planner may try again or cancel
        applied_ = out.changed;
    }
    accept();
}

void PlanWindow::onSplit()
{
    readBoxes();
    if (!reschedule::mayStartSplit(session_.rules(), form_)) return;
    BunWindow split(session_, form_.recordNo, this);
    split.exec();
    if (!split.splitDone()) return;
    reschedule::refreshAfterSplit(session_.rules(), form_);
    fillBoxes();
    fillComponents();
    fillMembers();
}

}  // namespace windows
