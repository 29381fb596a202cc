#include "app/WindowSequence.h"

#include "app/KBunSelect.h"
#include "app/SchedulerSplash.h"
#include "app/startup/ClassChoice.h"
#include "chart/MainForm.h"
#include "windows/WindowOpeners.h"
#include "chart/MessageBoxPrompt.h"
#include "chart/MessageBoxes.h"
#include "core/ChartGeometry.h"
#include "windows/OrderWindows.h"
#include "windows/ListWindows.h"

#include <QEvent>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace app {

void showStartupError(const StartupError& e)
{
    QTextStream err(stderr);
    err << e.message << Qt::endl;
    if (!e.englishMessage.isEmpty()) err << e.englishMessage << Qt::endl;
    chart::showMessage(nullptr, QMessageBox::Critical, QStringLiteral("起動エラー"), e.message);
}

WindowSequence::WindowSequence(core::ProgramSettings& settings, db::Database& db) : settings_(settings), db_(db) {}

WindowSequence::~WindowSequence()
{
    delete form_.data();
}

bool WindowSequence::openMainWindow()
{
    ClassChoiceList choices;
    try {
        choices = loadClassChoices(db_, settings_.KojoCode);
    } catch (const db::Error& e) {
        showStartupError({QStringLiteral("工程分類（DB0370, DB0399）を読み込めません。\n%1").arg(e.message),
                          QStringLiteral("Cannot read the department and process classes (DB0370, DB0399): %1").arg(e.message)});
        exitStatus_ = 1;
        return false;
    }
    chart::MessageBoxPrompt prompt(nullptr);
    KBunSelect dialog(settings_, choices, prompt);
    if (dialog.exec() != QDialog::Accepted) {
        exitStatus_ = 0;  // the planner ended the program
        return false;
    }

    SchedulerSplash splash;
    splash.show();
    splash.repaint();
    QPointer<SchedulerSplash> progressTo(&splash);

    auto* form = new chart::MainForm(settings_, db_);
    windows::connectWindows(*form);
    windows::installOrderWindows(*form);
    windows::attachListWindows(*form);
    bool loaded = false;
    StartupError failure;
    try {
        loaded = form->load([progressTo](const QString& text) {
            if (progressTo) progressTo->setProgressText(text);
        });
    } catch (const db::Error& e) {
        failure = {QStringLiteral("計画データを読み込めません。\n%1").arg(e.message), QStringLiteral("Cannot load the plan: %1").arg(e.message)};
    } catch (const std::exception& e) {
        const QString what = QString::fromLocal8Bit(e.what());
        failure = {QStringLiteral("計画データを読み込めません。\n%1").arg(what), QStringLiteral("Cannot load the plan: %1").arg(what)};
    }
    splash.close();
    if (!loaded) {
        delete form;
        if (!failure.message.isEmpty()) showStartupError(failure);
        exitStatus_ = 1;
        return false;
    }
    form_ = form;
    current_ = form;
    form->installEventFilter(this);
    // Queued: the main window finishes its own handler before it is replaced.
    connect(form, &chart::MainForm::reselectRequested, this, &WindowSequence::reselect, Qt::QueuedConnection);
    form->show();
    return true;
}

void WindowSequence::rememberWindowSize()
{
    if (!form_) return;
    settings_.MainWidth = form_->width() * core::TwipsPerPixel;
    settings_.MainHeight = form_->height() * core::TwipsPerPixel;
}

void WindowSequence::reselect()
{
    chart::MainForm* old = form_.data();
    if (!old) return;
    rememberWindowSize();
    old->removeEventFilter(this);
    old->hide();
    form_.clear();
    current_ = nullptr;
    old->deleteLater();
    if (!openMainWindow()) emit finished(exitStatus_);
}

bool WindowSequence::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && watched == form_.data()) {
        // The main window may refuse to close (unsaved changes); look once the event is through.
        QPointer<chart::MainForm> closing = form_;
        QTimer::singleShot(0, this, [this, closing, raw = form_.data()] {
            if (raw != current_) return;  // replaced meanwhile
            if (closing && closing->isVisible()) return;
            if (closing) rememberWindowSize();
            emit finished(0);
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace app
