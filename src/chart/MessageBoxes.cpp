#include "chart/MessageBoxes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace chart {

QTranslator* installQtTranslation()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

QString buttonText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return QStringLiteral("OK");
    case QMessageBox::Cancel: return QStringLiteral("キャンセル");
    case QMessageBox::Yes: return QStringLiteral("はい");
    case QMessageBox::No: return QStringLiteral("いいえ");
    case QMessageBox::YesToAll: return QStringLiteral("すべてはい");
    case QMessageBox::NoToAll: return QStringLiteral("すべていいえ");
    case QMessageBox::Abort: return QStringLiteral("中止");
    case QMessageBox::Retry: return QStringLiteral("再試行");
    case QMessageBox::Ignore: return QStringLiteral("無視");
    case QMessageBox::Close: return QStringLiteral("閉じる");
    case QMessageBox::Save: return QStringLiteral("保存");
    case QMessageBox::Discard: return QStringLiteral("破棄");
    case QMessageBox::Apply: return QStringLiteral("適用");
    case QMessageBox::Help: return QStringLiteral("ヘルプ");
    default: return {};
    }
}

void setJapaneseButtons(QMessageBox& box)
{
    for (QAbstractButton* b : box.buttons()) {
        const QString text = buttonText(box.standardButton(b));
        if (!text.isEmpty()) b->setText(text);
    }
}

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    setJapaneseButtons(box);
    box.exec();
}

}  // namespace chart
