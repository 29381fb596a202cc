#include "app/startup/PlannerIni.h"

#include "app/startup/SequentialInput.h"
#include "core/ChartGeometry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace app {

namespace {

constexpr int IntegerItems[] = {3, 4, 5, 6, 8, 9};

bool isIntegerItem(int n)
{
    for (int i : IntegerItems)
        if (i == n) return true;
    return false;
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    // Files written on the plant's Windows PCs may still be Shift-JIS.
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid()) {
        QString t = sjis.decode(bytes);
        if (!sjis.hasError()) return t;
    }
    return text;
}

}  // namespace

int PlannerIni::mainWidthTwips() const
{
    return widthPixels * core::TwipsPerPixel;
}

int PlannerIni::mainHeightTwips() const
{
    // × 14.8 = × 148 / 10; the product of an integer and 148 is even, so no tie arises.
    const qint64 tenths = qint64(heightPixels) * 148;
    return int(tenths >= 0 ? (tenths + 5) / 10 : -((-tenths + 5) / 10));
}

StartupResult<PlannerIni> parsePlannerIni(const QString& text, const QString& source)
{
    PlannerIni ini;
    SequentialInput in(text);
    for (int n = 1; n <= PlannerIni::ItemCount; ++n) {
        if (in.atEnd()) {
            // Items 1 and 2 are read unconditionally: a file without them cannot be a planner.ini.
            if (n <= 2)
                return StartupError{
                    QStringLiteral("設定ファイルの項目が足りません（%1 項目しかありません。少なくとも 2 項目が必要です）。\n%2")
                        .arg(n - 1).arg(source),
                    QStringLiteral("The configuration file has only %1 item(s); at least 2 are needed: %2").arg(n - 1).arg(source)};
            break;
        }
        ini.items[std::size_t(n - 1)] = in.next();
        ini.itemsRead = n;
    }
    for (int n = 1; n <= ini.itemsRead; ++n) {
        if (!isIntegerItem(n)) continue;
        int v = 0;
        if (!itemToInt(ini.item(n), v))
            return StartupError{
                QStringLiteral("設定ファイルの %1 番目の項目「%2」は整数ではありません。\n%3").arg(n).arg(ini.item(n), source),
                QStringLiteral("Item %1 of the configuration file (\"%2\") is not an integer: %3").arg(n).arg(ini.item(n), source)};
        switch (n) {
        case 3: ini.option3 = v; break;
        case 4: ini.option4 = v; break;
        case 5: ini.option5 = v; break;
        case 6: ini.option6 = v; break;
        case 8: ini.widthPixels = v; break;
        case 9: ini.heightPixels = v; break;
        }
    }
    // The twip sizes must fit an int (they no longer need to fit 16 bits).
    constexpr int Limit = 100'000'000;
    if (ini.widthPixels > Limit || ini.widthPixels < -Limit || ini.heightPixels > Limit || ini.heightPixels < -Limit)
        return StartupError{QStringLiteral("設定ファイルの画面サイズ（8, 9 番目の項目）が大きすぎます。\n%1").arg(source),
                            QStringLiteral("The window size (items 8 and 9) of the configuration file is too large: %1").arg(source)};
    return ini;
}

StartupResult<PlannerIni> readPlannerIni(const QString& path)
{
    QFile f(path);
    if (!f.exists())
        return StartupError{QStringLiteral("設定ファイルが見つかりません。\n%1").arg(QDir::toNativeSeparators(path)),
                            QStringLiteral("The configuration file was not found: %1").arg(QDir::toNativeSeparators(path))};
    if (!f.open(QIODevice::ReadOnly))
        return StartupError{QStringLiteral("設定ファイルを開けません（%1）。\n%2").arg(f.errorString(), QDir::toNativeSeparators(path)),
                            QStringLiteral("The configuration file cannot be opened (%1): %2").arg(f.errorString(), QDir::toNativeSeparators(path))};
    return parsePlannerIni(decode(f.readAll()), QDir::toNativeSeparators(path));
}

QString plannerIniPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("planner.ini"));
}

}  // namespace app
