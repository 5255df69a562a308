#!/usr/bin/env bash
# Starts a throw-away MariaDB server for trying the portal Netzpult: a temporary data directory,
# 127.0.0.1 on a free port, the portal's three tables and a few demo requests. Prints the
# "DBPATH" line for the project's TovoRaumVerw.ini and runs until Ctrl+C; then everything is
# removed again. Usage: scripts/demo-portal.sh [port]
set -euo pipefail
cd "$(dirname "$0")/.."

for prog in mariadb-install-db mariadbd mariadb; do
    command -v "$prog" >/dev/null || PATH="$PATH:/usr/sbin"
    command -v "$prog" >/dev/null || { echo "$prog fehlt (Paket mariadb-server)." >&2; exit 1; }
done

port=${1:-}
if [ -z "$port" ]; then
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
fi
dir=$(mktemp -d /tmp/tovo-netzpult-XXXXXX)
user_arg=()
[ "$(id -u)" -eq 0 ] && user_arg=(--user=root)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 0' INT TERM

echo "Richte den Datenbankserver in $dir ein …"
mariadb-install-db --no-defaults --auth-root-authentication-method=normal --skip-test-db \
    --datadir="$dir/data" "${user_arg[@]}" >"$dir/install.log" 2>&1 ||
    { cat "$dir/install.log" >&2; exit 1; }
mariadbd --no-defaults --datadir="$dir/data" --socket="$dir/mysqld.sock" \
    --pid-file="$dir/mysqld.pid" --port="$port" --bind-address=127.0.0.1 --skip-log-bin \
    "${user_arg[@]}" >"$dir/server.log" 2>&1 &
pid=$!

sql() { mariadb --no-defaults --socket="$dir/mysqld.sock" -uroot "$@"; }
for _ in $(seq 1 300); do
    sql -e "SELECT 1" >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    sleep 0.2
done
sql -e "SELECT 1" >/dev/null || { echo "Der Server antwortet nicht." >&2; exit 1; }

# A user for the portal connection, reachable over TCP from this machine only.
sql <<SQL
CREATE DATABASE netzpult CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER 'raum'@'127.0.0.1' IDENTIFIED BY 'geheim';
GRANT ALL PRIVILEGES ON netzpult.* TO 'raum'@'127.0.0.1';
SQL
sql netzpult <src/portal/schema/Netzpult.sql

# Demo requests for the coming days. Rooms 1 and 2 exist in the demo project once published;
# the change request names booking 1 of the project.
d1=$(date -d '+1 day' +%F); d2=$(date -d '+2 day' +%F); d3=$(date -d '+3 day' +%F)
sql netzpult <<SQL
INSERT INTO T_BELEGUNG (LBELEGID, DTDATUMVON, STZEITVON, DTDATUMBIS, STZEITBIS, STDATUMERST,
    LRAUMID, BRESERVIERT, STNAME, STTEL, STFIRMA, STKOSTENSTELLE, STEMAIL, STAUSSTATTUNG,
    STSONSTIGES, STSTUHLANORDNUNG, IANZAHLPERSONEN, STBEMERKUNG, STNUTZUNG, STPTISCHE, STSTATUS)
VALUES
 (0, '$d1', '9', '$d1', '11.30', '$(date +%d.%m.%Y)', 1, 0, 'Petra Sommer', '0711 4711',
  'Stadtwerke', '4100', 'p.sommer@example.org', 'WP', 'Bitte Kaffee', 'K', 12,
  'Quartalsgespräch', 'Abteilungsrunde', '4', 'B'),
 (0, '$d2', '14', '$d2', '24:00', '$(date +%d.%m.%Y)', 2, 0, 'Jonas Ilić', '0711 815',
  'Bauamt', '3200', 'j.ilic@example.org', 'B', '', 'U', 25, 'Abendtermin', 'Bürgerforum',
  '0', 'B'),
 (0, '$d3', '', '$d3', '', '', 1, 0, 'Erika Möller', '', 'Personalamt', '', '', '', '', '',
  8, 'Zeit bitte erfragen', 'Bewerbungsgespräche', '', 'B'),
 (1, '$d1', '', '$d1', '', '$(date +%d.%m.%Y)', 1, 0, 'Klaus Neumann', '0711 99',
  'Hauptamt', '1000', 'k.neumann@example.org', 'WPM', 'Mikrofon für den Redner', 'O', 30,
  'Mehr Teilnehmer als geplant', 'Jahresempfang', '6', 'K');
SQL

cat <<EOF2

Das Netzpult läuft auf 127.0.0.1:$port. Tragen Sie in die TovoRaumVerw.ini des Projekts ein:

[WebMDB]
DBPATH=Driver={MySQL ODBC 8.0 Unicode Driver};Server=127.0.0.1;Port=$port;Database=netzpult;Uid=raum;Pwd=geheim;
NetzpultType=1

Beenden mit Strg+C (der Server und seine Daten werden dann entfernt).
EOF2
wait "$pid"
