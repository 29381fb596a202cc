#!/usr/bin/env bash
# Fails when a library includes what its layer must not know: the rules and the
# session use QtCore only, the SQL layer no widgets. (Headers of libraries that
# are not linked already fail to compile; Qt's own modules are checked here.)
set -euo pipefail
src=${1:?usage: check-layers.sh SRC_DIR}
status=0

forbid() {
    local pattern=$1 what=$2
    shift 2
    local hits
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($pattern)" "$@" 2>/dev/null || true)
    if [[ -n $hits ]]; then
        echo "$what:"
        echo "$hits"
        status=1
    fi
}

widgets='QtWidgets|QtGui|QtPrintSupport|QWidget|QMainWindow|QDialog|QMessageBox|QPainter|QPixmap|QImage|QApplication|QAbstractButton|QLabel|QPushButton|QFont|QColor'
sql='QtSql|QSql'
rules=("$src/core" "$src/plan" "$src/reschedule" "$src/session")
forbid "$sql" "the rules and the session speak no SQL" "${rules[@]}"
forbid "$widgets" "the rules and the session know no widgets" "${rules[@]}"
forbid "$widgets" "the SQL layer knows no widgets" "$src/db" "$src/store"

if [[ $status -eq 0 ]]; then echo "layers: ok"; fi
exit $status
