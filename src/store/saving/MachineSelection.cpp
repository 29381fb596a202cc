#include "store/saving/MachineSelection.h"

#include "store/loading/PlanStatements.h"

namespace store {

std::vector<MachineChoice> readMachineSelection(db::Database& db, const core::ProgramSettings& settings)
{
    db::Cursor c = db.query(statements::machineSelection(db.dialect(), settings.KojoCode),
                            {settings.TantoCode, settings.processClassCode});
    const int code = c.column(QStringLiteral("機械コード"));
    const int name = c.column(QStringLiteral("機械名"));
    const int chosen = c.column(QStringLiteral("選択"));
    std::vector<MachineChoice> out;
    while (c.next()) out.push_back({c.text(code), c.text(name), c.text(chosen).trimmed() == QStringLiteral("1")});
    return out;
}

void saveMachineSelection(db::Database& db, const core::ProgramSettings& settings, const std::vector<MachineChoice>& choices,
                          core::Moment now)
{
    const QString date = now.date().toYmdText();
    const QString time = now.time().toHhnnss();
    const auto audit = [&](db::RowSet& rs, const QString& kind) {
        rs.set(kind + QStringLiteral("日"), date);
        rs.set(kind + QStringLiteral("時刻"), time);
        rs.set(kind + QStringLiteral("オペレータ"), settings.TantoCode);
        rs.set(kind + QStringLiteral("端末番号"), settings.TanmatsuNo);
        rs.set(kind + QStringLiteral("プログラム"), settings.ProgramId);
    };
    db.begin();  // outside the guard: a refused begin has no transaction of ours to roll back
    try {
        for (const MachineChoice& m : choices) {
            db::RowSet rs(db, QStringLiteral("DB0497"), QStringLiteral("   担当者コード = ?" "  AND " "   機械コード = ?"),
                          {settings.TantoCode, m.code});
            if (rs.isEmpty()) {
                rs.addNew();
                rs.set(QStringLiteral("担当者コード"), settings.TantoCode);
                rs.set(QStringLiteral("機械コード"), m.code);
                audit(rs, QStringLiteral("登録"));
            }
            rs.set(QStringLiteral("選択"), m.selected ? QStringLiteral("1") : QStringLiteral("0"));
            rs.set(QStringLiteral("削除フラグ"), QStringLiteral("0"));
            audit(rs, QStringLiteral("更新"));
            rs.update();
        }
        db.commit();
    } catch (...) {
        if (db.inTransaction()) {
            try {
                db.rollback();
            } catch (const db::Error&) {
                // The first failure is the one to tell.
            }
        }
        throw;
    }
}

}  // namespace store
