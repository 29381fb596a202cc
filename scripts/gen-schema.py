#!/usr/bin/env python3
"""Writes sql/{sqlite,postgresql,sqlserver,oracle}.sql from the one table list below.

The production database is shared with the plant's other programs; these scripts
lay out a development or test copy with the columns this planner reads and
writes. Keep db::Database::primaryKeyOf in step with the keys here (a test
compares them). Run: python3 scripts/gen-schema.py
"""
import os

# Column kinds: C<n> code/text, D date "yyyymmdd", T time "hhnnss", F flag (one
# character, '0' by default), I integer, L 64-bit number (order and plan
# numbers), N quantity or duration (exact decimal), S the machine selection flag
# (one character, but an integer on PostgreSQL: the machine-row statement reads it
# through COALESCE(DB0497.選択,1), and PostgreSQL refuses to mix a text column
# with the integer 1 there; '1' and 0 still compare and store as usual).
AUDIT = ["登録日 D", "登録時刻 T", "登録オペレータ C10", "登録端末番号 I", "登録プログラム C20",
         "更新日 D", "更新時刻 T", "更新オペレータ C10", "更新端末番号 I", "更新プログラム C20"]
# DB0259 names its two time columns differently.
AUDIT_0259 = [c.replace("時刻", "時間") for c in AUDIT]

TABLES = [
    ("DB0003", ["担当者コード"], ["担当者コード C10", "担当者名 C40", "Velmoran権限区分 C1", "削除フラグ F"]),
    ("DB0018", ["番号管理キー"], ["番号管理キー C20", "現在番号 L", "開始番号 L", "終了番号 L", "削除フラグ F"]),
    ("DB0202", ["所要計画No"], ["所要計画No L", "品名コード C20", "得意先コード C20", "納期 D", "所要計画数量 N",
                                "削除フラグ F"]),
    ("DB0204", ["受注番号"], ["受注番号 L", "得意先コード C20", "品名コード C20", "納期 D", "注文番号 C30",
                             "受注数量 N", "出荷数量 N", "削除フラグ F"]),
    ("DB0251", ["生産計画番号"], ["生産計画番号 L", "生産工場コード I", "品名コード C20", "計画数 N", "指示済数 N",
                                 "生産完了日 D", "確定区分 C1", "指示済区分 C1", "削除フラグ F"]),
    ("DB0252", ["上位手配番号", "品名コード", "順序"],
     ["上位手配番号 L", "品名コード C20", "順序 I", "手配番号 L", "生産工場コード I", "必要数 N", "実績数 N",
      "支給数 N", "完納区分 C1", "確定区分 C1", "開始日 D", "上位品名コード C20", "上位順序 I", "生産計画番号 L",
      "原単位分子 N", "原単位分母 N", "不良率 N", "支給制御区分 C1", "有償無償区分 C1", "支給完納区分 C1",
      "品名＿諸口 C80", "ﾛｯﾄ消費方法区分 C1", "削除フラグ F"]),
    ("DB0253", ["手配番号"],
     ["手配番号 L", "上位手配番号 L", "生産計画番号 L", "生産工場コード I", "品名コード C20", "品名＿諸口 C80",
      "順序 I", "工程内容コード C10", "機械コード C10", "ラインコード C10", "指示先コード C20", "計上先コード C20",
      "金型番号 C20", "セット品グループ C10", "セット品代表手配番号 L", "手配区分 C1", "社内社外区分 C1",
      "仕入区分 C1", "手配確定区分 C1", "スケジューラ固定区分 C1", "受入即検収区分 C1", "GNT表示区分 C2",
      "完納区分 C1", "作業開始日付 D", "作業開始時間 T", "作業終了日付 D", "作業終了時間 T", "開始日 D", "納期 D",
      "GNT初期納期 D", "GNT所要時間＿分 N", "作業時間 N", "段取時間 N", "必要人員 N", "実績時間 N", "手配数 N",
      "発注数 N", "手配実績数 N", "受入実績数 N", "手配実績数＿発注単位 N", "受入実績数＿発注単位 N",
      "最終実績日 D", "製造開始日 D", "製造終了日 D", "指示書発行日 D", "サイクル N", "備考 C200", "単価 N",
      "金額 N", "消費税額 N", "合計金額 N",
      # Where the product-tag rows (DB0259) take their order date, orderer and store from.
      "手配日 D", "手配担当者コード C10", "完成入庫場所 C20", "削除フラグ F"]),
    ("DB0259", ["生産工場コード", "手配番号", "実績区分", "実績番号", "実績行番号", "ロット番号"],
     ["生産工場コード I", "手配番号 L", "実績区分 C1", "実績番号 L0", "実績行番号 I0", "ロット番号 L0",
      "ロット別在庫管理区分 C1", "指示先コード C20", "完成入庫場所 C20", "品名コード C20", "品名＿諸口 C80",
      "順序 I", "数量 N", "手配＿実績日 D", "手配日 D", "手配担当者コード C10", "現品票発行区分 C1",
      "現品票発行日 D", "削除フラグ F"]),
    ("DB0351", [], ["表示期間＿ヶ月 I", "グリッド単位＿分 I"]),
    ("DB0361", ["得意先コード"], ["得意先コード C20", "得意先略名 C40", "削除フラグ F"]),
    ("DB0369", ["仕入先コード"], ["仕入先コード C20", "仕入先名略名 C40", "仕入先分類 C1", "削除フラグ F"]),
    ("DB0370", ["部コード", "課コード"], ["部コード I", "課コード I", "部名 C40", "課名 C40", "削除フラグ F"]),
    ("DB0378", ["品名コード"], ["品名コード C20", "品名略称 C40", "品名＿品名仕様 C80", "型番名 C40",
                               "型番名仕様ＡＮＫ C40", "包装単位数量 N", "品目分類コード２ C10", "基本単位 C10",
                               "削除フラグ F"]),
    ("DB0380", ["単位コード"], ["単位コード C10", "単位名 C20", "端数処理区分 C1", "端数処理桁位置 I", "削除フラグ F"]),
    ("DB0381", ["品名コード", "順序", "生産工場コード"],
     ["品名コード C20", "順序 I", "生産工場コード I", "工程内容コード C10", "標準生産性＿機械 N",
      "生産性＿機械＿単位 C1", "生産性＿工数＿単位 C1", "現品票出力区分 C1", "ロット別在庫管理区分 C1",
      "削除フラグ F"]),
    ("DB0382", ["工程内容コード"], ["工程内容コード C10", "工程内容名 C40", "工程分類コード C10", "削除フラグ F"]),
    ("DB0383", ["生産工場コード", "上位品名コード", "順序", "下位品名コード"],
     ["生産工場コード I", "上位品名コード C20", "順序 I", "下位品名コード C20", "表示順 I", "原単位分子 N",
      "原単位分母 N", "歩留率 N", "支給制御区分 C1", "有償無償区分 C1",
      # Which alternative composition (構成選択) of the item step a line belongs to.
      "構成選択順序 I", "削除フラグ F"]),
    ("DB0386", ["取引先コード", "品名コード", "工場コード", "順序", "開始日"],
     ["取引先コード C20", "品名コード C20", "工場コード I", "順序 I", "開始日 D", "単価 N", "単価区分 C1",
      "削除フラグ F"]),
    ("DB0394", ["機械コード"], ["機械コード C10", "機械名 C40", "生産工場コード I", "工程分類コード C10",
                               "指示先コード C20", "削除フラグ F"]),
    ("DB0399", ["工程分類コード"], ["工程分類コード C10", "工程分類名 C40", "削除フラグ F"]),
    ("DB0451", ["品名コード", "順序", "生産工場コード"],
     ["品名コード C20", "順序 I", "生産工場コード I", "サイクル N", "取数 N", "ショット重量 N", "製品重量 N",
      "前段取時間 N", "後段取時間 N", "削除フラグ F"]),
    ("DB0471", ["金型番号"], ["金型番号 C20", "金型略称 C40", "取数 N", "削除フラグ F"]),
    ("DB0473", ["金型番号", "セット品グループ", "品名コード", "順序"],
     ["金型番号 C20", "セット品グループ C10", "品名コード C20", "順序 I", "優先順位 I", "取数 N", "削除フラグ F"]),
    ("DB0491", ["機械コード", "年月日"],
     ["機械コード C10", "年月日 D", "勤務時間 N", "開始時刻１ T", "終了時刻１ T", "開始時刻２ T", "終了時刻２ T",
      "停止タイトル C40", "停止備考 C200", "停止開始時刻 T", "停止時間 N", "削除フラグ F"]),
    ("DB0492", ["品名コード", "順序", "機械コード"],
     ["品名コード C20", "順序 I", "機械コード C10", "サイクル N", "削除フラグ F"]),
    ("DB0493", ["指示先コード", "工程分類コード"], ["指示先コード C20", "工程分類コード C10", "削除フラグ F"]),
    ("DB0494", ["番号", "受注データ区分", "手配番号"],
     ["番号 L", "受注データ区分 C1", "手配番号 L", "削除フラグ F"]),
    ("DB0496", ["自社企業コード"],
     ["自社企業コード C10"]
     + [f"{w}時刻{n} T" for n in ["１", "２", "３", "４", "５", "６", "７", "８", "９", "１０"] for w in ("開始", "終了")]
     + ["削除フラグ F"]),
    ("DB0497", ["担当者コード", "機械コード"],
     ["担当者コード C10", "機械コード C10", "選択 S", "削除フラグ F"]),
]

# Indexes the loaders and the save look rows up by (the primary keys cover the rest,
# DB0252 by 上位手配番号 and DB0491 by machine and day among them).
INDEXES = [
    ("IX_DB0253_FACTORY", "DB0253", ["生産工場コード", "完納区分"]),
    ("IX_DB0253_PLAN", "DB0253", ["生産計画番号"]),
    ("IX_DB0253_PARENT", "DB0253", ["上位手配番号"]),
    ("IX_DB0494_ORDER", "DB0494", ["手配番号"]),
]

# type spelling per database: (text(n), date, time, integer, bigint, decimal)
TYPES = {
    "sqlite": ("VARCHAR({n})", "VARCHAR(8)", "VARCHAR(6)", "INTEGER", "BIGINT", "NUMERIC"),
    "postgresql": ("VARCHAR({n})", "VARCHAR(8)", "VARCHAR(6)", "INTEGER", "BIGINT", "NUMERIC(18,6)"),
    # NVARCHAR keeps Japanese text whatever the server's collation.
    "sqlserver": ("NVARCHAR({n})", "VARCHAR(8)", "VARCHAR(6)", "INT", "BIGINT", "DECIMAL(18,6)"),
    "oracle": ("VARCHAR2({n} CHAR)", "VARCHAR2(8)", "VARCHAR2(6)", "NUMBER(10)", "NUMBER(19)", "NUMBER(18,6)"),
}


def column_type(kind, db):
    text, date, time, integer, bigint, decimal = TYPES[db]
    default = ""
    if kind.endswith("0") and kind[0] in "IL":
        kind, default = kind[:-1], " DEFAULT 0"
    if kind == "S":
        return integer if db == "postgresql" else text.format(n=1)
    if kind == "F":
        return text.format(n=1) + " DEFAULT '0'"
    if kind[0] == "C":
        return text.format(n=int(kind[1:]))
    return {"D": date, "T": time, "I": integer, "L": bigint, "N": decimal}[kind] + default


def check_names():
    for table, keys, cols in TABLES:
        names = [c.split()[0] for c in cols + (AUDIT_0259 if table == "DB0259" else AUDIT)]
        assert len(set(names)) == len(names), table
        for k in keys:
            assert k in names, (table, k)
        for n in names:
            # PostgreSQL cuts names at 63 bytes; Oracle before 12.2 at 30.
            assert len(n.encode("utf-8")) <= 30, (table, n)


def script(db):
    lines = []
    for table, keys, cols in TABLES:
        audit = [] if table == "DB0351" else (AUDIT_0259 if table == "DB0259" else AUDIT)
        body = []
        for c in cols + audit:
            name, kind = c.split()
            null = " NOT NULL" if name in keys else ""
            body.append(f"    {name} {column_type(kind, db)}{null}")
        if keys:
            body.append(f"    CONSTRAINT PK_{table} PRIMARY KEY ({', '.join(keys)})")
        lines.append(f"CREATE TABLE {table} (")
        lines.append(",\n".join(body))
        lines.append(");")
        lines.append("")
    for name, table, cols in INDEXES:
        lines.append(f"CREATE INDEX {name} ON {table} ({', '.join(cols)});")
    return "\n".join(lines) + "\n"


HEADERS = {
    "sqlite": "-- Production database layout for SQLite (development and tests).",
    "postgresql": "-- Production database layout for PostgreSQL (UTF8 database).",
    "sqlserver": "-- Production database layout for SQL Server (run as UTF-8: sqlcmd -f 65001 -i sqlserver.sql).",
    "oracle": "-- Production database layout for Oracle (AL32UTF8 database, NLS_LANG=.AL32UTF8; names fit 30 bytes).",
}

if __name__ == "__main__":
    check_names()
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sql")
    for db in TYPES:
        with open(os.path.join(out, db + ".sql"), "w", encoding="utf-8") as f:
            f.write(HEADERS[db] + "\n-- Written by scripts/gen-schema.py; edit the table list there.\n\n")
            f.write(script(db))
