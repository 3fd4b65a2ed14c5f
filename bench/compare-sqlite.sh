#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Side by side with the sqlite3 shell on the same rows: the sheet list's SELECT and the period
# query, whole-process time (hyperfine) and peak memory (GNU time).
#   bench/compare-sqlite.sh [PROGRAMDIR]
# PROGRAMDIR defaults to the benchmark's generated data; velmora-tool comes from build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_bench_packages
tool=build/release/bin/velmora-tool
[ -x "$tool" ] || tool=build/bench/bin/velmora-tool
dir=${1:-${TMPDIR:-/tmp}/velmora-bench-100000x3}
[ -x "$tool" ] || { echo "build the release or bench preset first" >&2; exit 2; }
[ -f "$dir/Data/FOI.DBF" ] || { echo "no data in $dir (run velmora-bench once)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

foi="$dir/Data/Foi.dbf"
echo "SELECT * FROM \"$foi\"" | "$tool" sql > "$work/foi.tsv"
db="$work/foi.sqlite"
sqlite3 "$db" <<SQL
CREATE TABLE foi (IDFOAIE NUMERIC, ORA TEXT, NRMAS TEXT, DATAX TEXT, SOFER1 TEXT, SOFER2 TEXT,
                  LOCPARC TEXT, TOTALVEN NUMERIC, TKM NUMERIC, CONSUM NUMERIC, PRETL NUMERIC,
                  COST NUMERIC);
.mode tabs
.import --skip 1 $work/foi.tsv foi
SQL
rows=$(sqlite3 "$db" "SELECT COUNT(*) FROM foi")
echo "rows: $rows; table file: $(stat -c %s "$dir/Data/FOI.DBF") bytes; sqlite file: $(stat -c %s "$db") bytes"

first=$(sqlite3 "$db" "SELECT MIN(DATAX) FROM foi")
last=$(sqlite3 "$db" "SELECT MAX(DATAX) FROM foi")
# velmora-tool reads dates in the user's short format and in ISO form.
echo "SELECT * FROM \"$foi\" ORDER BY DATAX, ORA" > "$work/select.sql"
printf 'SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC\nFROM "%s"\nWHERE DATAX>="%s"\nAND DATAX<="%s"\nGROUP BY DATAX\nORDER BY DATAX\n' \
    "$foi" "$first" "$last" > "$work/period.sql"

hyperfine --warmup 2 --runs 15 \
    -n "velmora-tool SELECT * ORDER BY DATAX, ORA" "$tool sql < $work/select.sql" \
    -n "sqlite3 SELECT * ORDER BY DATAX, ORA" "sqlite3 $db 'SELECT * FROM foi ORDER BY DATAX, ORA'" \
    -n "velmora-tool period query" "$tool sql < $work/period.sql" \
    -n "sqlite3 period query" "sqlite3 $db \"SELECT DATAX, SUM(TOTALVEN) AS TV, SUM(COST) AS TC FROM foi WHERE DATAX>='$first' AND DATAX<='$last' GROUP BY DATAX ORDER BY DATAX\"" \
    --output=null

peak() { /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -1; }
echo "peak memory (KiB): velmora-tool SELECT $(peak sh -c "$tool sql < $work/select.sql")," \
     "sqlite3 SELECT $(peak sqlite3 "$db" 'SELECT * FROM foi ORDER BY DATAX, ORA')"
