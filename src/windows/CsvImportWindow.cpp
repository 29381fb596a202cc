#include "windows/CsvImportWindow.h"

#include "chart/MainForm.h"
#include "chart/MessageBoxPrompt.h"

#include <QAction>
#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace windows {

namespace {

const QString kTitle = QStringLiteral("CSV取込");

QTableWidget* makeTable(QWidget* parent, const QString& name, const QStringList& headers)
{
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c) t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

}  // namespace

CsvImportWindow::CsvImportWindow(session::PlanSession& session, session::ImportRequest request, const QString& fileName,
                                 core::Prompt* prompt, QWidget* parent)
    : QDialog(parent), session_(session), request_(std::move(request))
{
    setObjectName(QStringLiteral("frmCsvImport"));
    setWindowTitle(kTitle);
    if (!prompt) ownPrompt_ = std::make_unique<chart::MessageBoxPrompt>(this);
    prompt_ = prompt ? prompt : ownPrompt_.get();

    auto* layout = new QVBoxLayout(this);
    lblFile = new QLabel(QStringLiteral("ファイル: %1").arg(QFileInfo(fileName).fileName()), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setToolTip(fileName);
    layout->addWidget(lblFile);
    if (!request_.ignored.isEmpty()) {
        auto* ignored = new QLabel(QStringLiteral("取り込まない列: %1").arg(request_.ignored.join(QStringLiteral("、"))), this);
        ignored->setObjectName(QStringLiteral("lblIgnored"));
        ignored->setWordWrap(true);
        layout->addWidget(ignored);
    }

    auto* policy = new QHBoxLayout;
    policy->addWidget(new QLabel(QStringLiteral("移動で計画が重なったとき:"), this));
    optPushYes = new QRadioButton(QStringLiteral("調整する（前の計画の後に開始し、後の計画を押し出す）"), this);
    optPushYes->setObjectName(QStringLiteral("optPushYes"));
    optPushNo = new QRadioButton(QStringLiteral("調整しない（指定の開始のまま）"), this);
    optPushNo->setObjectName(QStringLiteral("optPushNo"));
    optPushYes->setChecked(true);
    auto* group = new QButtonGroup(this);
    group->addButton(optPushYes);
    group->addButton(optPushNo);
    policy->addWidget(optPushYes);
    policy->addWidget(optPushNo);
    policy->addStretch();
    layout->addLayout(policy);

    layout->addWidget(new QLabel(QStringLiteral("変更される内容（押し出される計画を含む）"), this));
    grdChanges = makeTable(this, QStringLiteral("grdChanges"),
                           {QStringLiteral("手配番号"), QStringLiteral("項目"), QStringLiteral("変更前"), QStringLiteral("変更後")});
    layout->addWidget(grdChanges, 3);
    layout->addWidget(new QLabel(QStringLiteral("取り込めない行"), this));
    grdRefused = makeTable(this, QStringLiteral("grdRefused"), {QStringLiteral("行"), QStringLiteral("手配番号"), QStringLiteral("理由")});
    layout->addWidget(grdRefused, 2);

    auto* bottom = new QHBoxLayout;
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    bottom->addWidget(lblSummary, 1);
    cmdImport = new QPushButton(QStringLiteral("取込"), this);
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    bottom->addWidget(cmdImport);
    bottom->addWidget(cmdCancel);
    layout->addLayout(bottom);

    connect(optPushYes, &QRadioButton::toggled, this, [this] { refresh(); });
    connect(cmdImport, &QPushButton::clicked, this, &CsvImportWindow::importRows);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 600);
    refresh();
}

CsvImportWindow::~CsvImportWindow() = default;

void CsvImportWindow::refresh()
{
    session::ImportPolicy policy;
    policy.pushLater = optPushYes->isChecked();
    preview_ = session::previewImport(session_, request_, policy);
    grdChanges->setRowCount(int(preview_.changes.size()));
    for (int k = 0; k < int(preview_.changes.size()); ++k) {
        const session::RecordChange& c = preview_.changes[std::size_t(k)];
        setRow(grdChanges, k, {QString::number(c.orderNo), c.field, c.before, c.after});
    }
    grdRefused->setRowCount(0);
    for (const session::RowReport& r : preview_.rows) {
        if (r.status != session::RowStatus::Refused) continue;
        const int at = grdRefused->rowCount();
        grdRefused->insertRow(at);
        setRow(grdRefused, at, {QString::number(r.lineNo), r.orderText, r.reason});
    }
    grdChanges->resizeColumnsToContents();
    grdRefused->resizeColumnsToContents();
    lblSummary->setText(preview_.failed() ? preview_.failure
                                          : QStringLiteral("取込 %1 行、変更なし %2 行、取込不可 %3 行")
                                                .arg(preview_.applied)
                                                .arg(preview_.unchanged)
                                                .arg(preview_.refused));
    cmdImport->setEnabled(!preview_.failed() && preview_.applied > 0 && !session_.inquiryMode());
}

void CsvImportWindow::importRows()
{
    session::ImportPolicy policy;
    policy.pushLater = optPushYes->isChecked();
    const session::ImportReport done = session::applyImport(session_, request_, policy);
    if (done.failed()) {
        prompt_->tell(done.failure, kTitle, core::Prompt::Icon::Warning);
        refresh();
        return;
    }
    accept();
}

void addCsvImportMenu(chart::MainForm& form)
{
    // The file menu may come from the main window itself; made here when it has none.
    QMenu* file = form.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    if (!file) {
        file = new QMenu(QStringLiteral("ファイル(&F)"), form.menuBar());
        file->setObjectName(QStringLiteral("mnuFile"));
        const QList<QAction*> menus = form.menuBar()->actions();
        form.menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.front(), file);
    }
    // Before the separator that keeps 終了 apart, when the menu has one.
    QAction* import = new QAction(QStringLiteral("CSV取込..."), file);
    QAction* separator = nullptr;
    for (QAction* a : file->actions())
        if (a->isSeparator()) separator = a;
    file->insertAction(separator, import);
    import->setObjectName(QStringLiteral("mnuCsvImport"));
    import->setEnabled(!form.session().inquiryMode());
    QObject::connect(import, &QAction::triggered, &form, [&form] {
        const QString path = QFileDialog::getOpenFileName(&form, kTitle, QString(),
                                                          QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"));
        if (!path.isEmpty()) openCsvImport(form, path);
    });
}

CsvImportWindow* openCsvImport(chart::MainForm& form, const QString& path)
{
    const session::CsvRead read = session::readCsvFile(path);
    if (const auto* problem = std::get_if<session::CsvProblem>(&read)) {
        form.prompt().tell(problem->message + QStringLiteral("\n何も取り込んでいません。"), kTitle, core::Prompt::Icon::Warning);
        return nullptr;
    }
    auto matched = session::matchImport(form.session(), std::get<session::CsvTable>(read));
    if (const auto* problem = std::get_if<session::CsvProblem>(&matched)) {
        form.prompt().tell(problem->message + QStringLiteral("\n何も取り込んでいません。"), kTitle, core::Prompt::Icon::Warning);
        return nullptr;
    }
    auto* w = new CsvImportWindow(form.session(), std::get<session::ImportRequest>(std::move(matched)), path,
                                  form.promptOverride(), &form);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowModality(Qt::WindowModal);
    w->show();
    return w;
}

}  // namespace windows
