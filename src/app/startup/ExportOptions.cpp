#include "app/startup/ExportOptions.h"

namespace app {

namespace {

StartupError usageError(const QString& ja, const QString& en)
{
    return StartupError{ja + QStringLiteral("\n使い方は planner --help を参照してください。"),
                        en + QStringLiteral(" See planner --help.")};
}

}  // namespace

bool isCommandMode(const QStringList& arguments)
{
    return !arguments.isEmpty() && (arguments.front().startsWith(QStringLiteral("--")) || arguments.front() == QStringLiteral("-h"));
}

StartupResult<ExportOptions> parseExportOptions(const QStringList& args)
{
    ExportOptions o;
    // With --import, --export names the file the result goes to.
    bool importing = false;
    for (const QString& a : args) {
        if (a == QStringLiteral("--")) break;
        if (a == QStringLiteral("--import") || a.startsWith(QStringLiteral("--import="))) importing = true;
    }
    bool answerGiven = false, outGiven = false;
    bool positionalOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (positionalOnly || !a.startsWith(QStringLiteral("--"))) {
            if (a == QStringLiteral("-h") && !positionalOnly) {
                o.help = true;
                continue;
            }
            o.commandTokens << a;
            continue;
        }
        if (a == QStringLiteral("--")) {
            positionalOnly = true;
            continue;
        }
        QString name = a;
        QString value;
        bool inlineValue = false;
        if (const qsizetype eq = a.indexOf(u'='); eq > 0) {
            name = a.left(eq);
            value = a.mid(eq + 1);
            inlineValue = true;
        }
        auto takeValue = [&](QString& into) -> bool {
            if (inlineValue) {
                into = value;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (name == QStringLiteral("--help")) o.help = true;
        else if (name == QStringLiteral("--export") && !importing) o.exportPlan = true;
        else if (name == QStringLiteral("--bom")) o.bom = true;
        else if (name == QStringLiteral("--save")) o.save = true;
        else if (name == QStringLiteral("--answer")) {
            QString answer;
            answerGiven = true;
            if (!takeValue(answer))
                return usageError(QStringLiteral("オプション --answer に値がありません。"), QStringLiteral("Option --answer needs a value."));
            answer = answer.trimmed().toLower();
            if (answer == QStringLiteral("yes") || answer == QStringLiteral("y")) o.pushLater = true;
            else if (answer == QStringLiteral("no") || answer == QStringLiteral("n")) o.pushLater = false;
            else
                return usageError(QStringLiteral("--answer には yes か no を指定してください（%1）。").arg(answer),
                                  QStringLiteral("--answer takes yes or no (%1).").arg(answer));
        }
        else if (name == QStringLiteral("--import") || (name == QStringLiteral("--export") && importing)) {
            QString& into = name == QStringLiteral("--import") ? o.importFile : o.outFile;
            // A file name is never an option: "--import --class" forgot the file.
            const bool optionNext = !inlineValue && i + 1 < args.size() && args[i + 1].startsWith(QStringLiteral("--"));
            if (optionNext || !takeValue(into) || into.isEmpty())
                return usageError(QStringLiteral("オプション %1 に値がありません。").arg(name),
                                  QStringLiteral("Option %1 needs a value.").arg(name));
            if (name == QStringLiteral("--export")) o.exportPlan = true;
        }
        else if (name == QStringLiteral("--class") || name == QStringLiteral("--from") || name == QStringLiteral("--to")
                 || name == QStringLiteral("--out")) {
            outGiven = outGiven || name == QStringLiteral("--out");
            QString& into = name == QStringLiteral("--class") ? o.classCode
                          : name == QStringLiteral("--from")  ? o.from
                          : name == QStringLiteral("--to")    ? o.to
                                                              : o.outFile;
            if (!takeValue(into))
                return usageError(QStringLiteral("オプション %1 に値がありません。").arg(name),
                                  QStringLiteral("Option %1 needs a value.").arg(name));
        } else {
            return usageError(QStringLiteral("不明なオプション %1 です。").arg(a), QStringLiteral("Unknown option %1.").arg(a));
        }
    }
    if (o.help) return o;
    if (!o.exportPlan && !importing)
        return usageError(QStringLiteral("--export、--import または --help を指定してください。"),
                          QStringLiteral("Give --export, --import or --help."));
    if (!importing && (o.save || answerGiven))
        return usageError(QStringLiteral("--save と --answer は --import と一緒に指定してください。"),
                          QStringLiteral("--save and --answer go with --import."));
    if (importing && outGiven)
        return usageError(QStringLiteral("--import の結果の出力先は --export FILE で指定してください。"),
                          QStringLiteral("With --import, name the result file with --export FILE."));
    if (o.classCode.trimmed().isEmpty())
        return usageError(QStringLiteral("--class で工程分類コードを指定してください。"),
                          QStringLiteral("Give the process class with --class."));
    if (o.from.trimmed().isEmpty())
        return usageError(QStringLiteral("--from で期間の開始日を指定してください。"),
                          QStringLiteral("Give the period start with --from."));
    return o;
}

QString exportHelpText()
{
    return QStringLiteral(R"(Velmoran 工程計画立案支援システム / process planning workstation

使い方 / Usage:
  planner DATE OPERATOR FACTORY TERMINAL PROGRAM
      画面を開きます（工程分類指定、計画画面）。プラントのメニューが渡す形式です。
      Opens the start selection dialog, then the main window.
  planner --export --class CODE --from DATE [--to DATE] [--out FILE] [--bom]
          [--] DATE OPERATOR FACTORY TERMINAL PROGRAM
      画面を開かずに計画を読み込み・配置し、CSV で出力します（表示不要）。
      Loads and arranges the plan exactly like the main window, without any
      window, and writes it as CSV.
  planner --import FILE [--answer yes|no] [--save] [--export OUT] [--bom]
          --class CODE --from DATE [--to DATE] [--] DATE OPERATOR FACTORY TERMINAL PROGRAM
      画面を開かずに計画を読み込み・配置し、CSV の変更を画面と同じ規則で適用します。
      結果を標準エラーに1行ずつ報告し、--export で CSV 出力、--save で保存します。
      Loads and arranges the plan like the export, applies the CSV's changes
      with the same rules as the window's CSV import, reports every applied and
      refused row on stderr, optionally exports the result and saves it.
  planner --help
      この説明を表示します。Shows this text.

オプション / Options (also as --name=value):
  --export        計画の CSV 出力を行う / export the plan as CSV
  --class CODE    工程分類コード (DB0399)。"1" は "01" とも一致 / process class code;
                  numeric codes match by value
  --from DATE     期間の開始日 / period start: yyyy/mm/dd, yyyymmdd, yyyy-mm-dd
  --to DATE       期間の終了日（開始日から29日以上後）。省略時は開始日 + 表示期間（DB0351）ヶ月
                  （29日未満になるときは29日後）/ period end, at least 29 days after
                  the start; default: start plus the display months of DB0351,
                  but at least 29 days
  --out FILE      出力ファイル（省略時は標準出力）/ output file (default: stdout);
                  the file is replaced only when the export succeeds
  --bom           UTF-8 の BOM を付ける（Excel 用）/ write a UTF-8 byte-order mark
  --              以降はすべてコマンドライン値 / everything after is a command-line value

取込オプション / Import options:
  --import FILE   取り込む CSV（UTF-8、BOM 可、カンマ区切り、見出し行付き、64 MB まで）
                  CSV to apply (UTF-8, BOM allowed, comma separated, header line, up to 64 MB)
  --answer yes|no 移動で重なった計画の調整（前の計画の後に開始し、後の計画を押し出す）:
                  yes（既定）/ no。the move rules' questions: start after an
                  overlapping earlier bar and push later bars back (default yes)
  --save          通常の保存（同じ確認・同じトランザクション・他プログラムの変更の検出）。
                  他で変更されていた場合は保存せず終了コード 1。normal save; a
                  change made meanwhile by another program saves nothing (exit 1)
  --export OUT    取込後の計画を CSV 出力（--save のときは保存の後）/ export the result

  取り込む列 / Columns taken (matched by 手配番号; other columns are ignored):
    機械コード, 機械      機械・外注先の行へ移動（空欄は未配置へ戻す）/ move to that row
                          (blank: back to the unplaced row), as a drop on the chart
    開始日時, 作業開始    開始（グリッドに丸め、稼働時間へ）/ new start, as a drop there
    手配数                詳細画面と同じ手配数の変更（作業時間・部材）/ quantity
    必要人員              persons      固定区分  0, 1, 2     確定  予定/確定 (1/2)
  計画と同じ値は変更しません。エクスポートした CSV をそのまま取り込んでも何も変わりません。
  Values equal to the plan change nothing: an unchanged export imports as no change.
  1つの手配は1行だけ。文字コードの誤り、区切り文字の誤り、手配番号列なし、重複行、
  見出しより多い列、64 MB を超えるファイルは、何も適用せずに終了コード 1。
  A bad file (encoding, delimiter, no 手配番号 column, an order twice, a line
  longer than the header, over 64 MB) applies nothing and exits with 1.

コマンドライン値 / Command-line values (blank separated, at least five):
  DATE       起動日付 yyyymmdd（開始日の既定値）/ start date offered by the dialog
  OPERATOR   担当者コード (DB0003) / operator code; its permission comes from DB0003
  FACTORY    生産工場コード（整数）/ factory code (integer)
  TERMINAL   端末番号（整数）/ terminal number (integer)
  PROGRAM    プログラムID / program identifier

planner.ini（プログラムと同じフォルダ / beside the program; one item a line,
items may also be separated by commas; "quoted" items may contain commas):
   1  未使用 / not used              2  未使用 / not used
   3  IniOption3: 0 以外で未配置手配も機械コードを使う / non-zero: unplaced orders
      keep their stored machine code
   4  未使用（整数）/ not used (an integer)
   5  IniOption5: 0 以外で未確定バーの文字を青に / non-zero: blue text on unconfirmed bars
   6  IniOption6: 金型略称が空のときのバー表示値 / bar caption value without mould short name
   7  日替わり時刻 hh:mm:ss / time at which a production day begins
   8  画面幅 (pixel) / main window width     9  画面高さ (pixel) / main window height
  10  Oracle ユーザー / user    11  Oracle パスワード / password
  12  Oracle データソース / data source (service name)
  13  データベース種別 / database kind: 1 = Oracle, other number = SQL Server,
      SQLITE, POSTGRESQL
  14  SQL Server: サーバー / server;  SQLITE: データベースファイル（相対パスは
      プログラムのフォルダから）/ database file, relative to the program's folder;
      POSTGRESQL: host[:port]
  15  データベース名 / database (catalog)
  16  ユーザー / user    17  パスワード / password

CSV（UTF-8、見出し行付き、RFC 4180、行末 CRLF; 非表示の手配（削除・統合・セット従属）は除く）
CSV (UTF-8, header line, RFC 4180 quoting, CRLF; one line per loaded order
shown on the chart):
  表示          GNT表示区分 / Gantt display kind
  確定          手配確定区分（読込後）: 2 配置・確定, 1 未配置 / effective confirm kind
  手配番号      order number            ｾｯﾄ代表   set representative order number
  品名ｺｰﾄﾞ      item code               品名      item name (型番名)
  順序          process sequence        工程内容  process name
  機械          機械名 / machine name (blank: not placed)
  作業開始      yyyy/mm/dd hh:mm        作業終了  yyyy/mm/dd hh:mm
  希望納期      納期 / due date          手配数    order quantity
  受注実績数    受入実績数 / received quantity
  金型ｺｰﾄﾞ      mould number            金型名    mould short name
  必要時間      段取 + 作業 (分) / set-up plus work minutes
  備考          remarks                 BarID     bar identifier
  KEY           計画表のレコード番号 / plan table record number
  機械コード    machine code            指示先コード  instruction destination code
  開始日時      yyyy/mm/dd hh:mm:ss     終了日時  yyyy/mm/dd hh:mm:ss
  段取時間(分)  set-up minutes          作業時間(分)  work minutes
  固定区分      0 自由 free, 1 後ろ固定 back-fixed, 2 完全固定 fully fixed
  確定区分(DB)  手配確定区分 as stored
  初期納期      GNT初期納期 / first due date shown
  色区分        late, early, near-due, no-due-date（バーの色 / the bar's colour class）
  必要人員      required persons (divide the work minutes)

終了コード / Exit status:
  0 正常（取込: 全行を適用）/ success (import: every row applied)
  1 設定・接続・読込・ファイル・保存の失敗 / start-up, database, load, file or save failure
  2 オプションの誤り / bad options
  3 取込: 適用できない行があった（他の行は適用済み）/ import: some rows were refused
)");
}

}  // namespace app
