#!/usr/bin/env bash
# Starts a throw-away PostgreSQL cluster for trying the server database: a temporary data
# directory, 127.0.0.1 on a free port, a role "raum" and an empty database "raum". Prints the
# commands that put a project on it and runs until Ctrl+C; then everything is removed again.
# As root the server runs as the user postgres (initdb refuses root).
# Usage: scripts/demo-server.sh [port]
set -euo pipefail
cd "$(dirname "$0")/.."

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] && [ -x "$bin/initdb" ] || { echo "initdb fehlt (Paket postgresql)." >&2; exit 1; }
command -v psql >/dev/null || { echo "psql fehlt (Paket postgresql-client)." >&2; exit 1; }

port=${1:-}
if [ -z "$port" ]; then
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
fi
dir=$(mktemp -d /tmp/tovo-server-XXXXXX)
als=()
if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$dir"
    als=(runuser -u postgres --)
fi
cleanup() {
    "${als[@]}" "$bin/pg_ctl" -D "$dir/data" stop -m fast >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 0' INT TERM

echo "Richte den Datenbankserver in $dir ein …"
"${als[@]}" "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 \
    >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
"${als[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w start \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1" >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }

# A role of its own owning an empty database, as a site's administrator would set it up.
psql -q -h 127.0.0.1 -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 <<SQL
CREATE ROLE raum LOGIN;
CREATE DATABASE raum OWNER raum ENCODING 'UTF8';
SQL

verbindung="host=127.0.0.1 port=$port dbname=raum user=raum"
cat <<EOF

Der Datenbankserver läuft auf 127.0.0.1:$port (Datenbank "raum", Benutzer "raum", ohne
Kennwort). Ein neues Projekt darauf einrichten:

  build/bin/tovo-raumverw /tmp/serverprojekt --datenbank-einrichten "$verbindung"

oder ein bestehendes Projekt samt Buchungen übertragen (die Datenbank muss leer sein):

  build/bin/tovo-raumverw ~/.local/share/Tovo/tovo-raumverw/Demoprojekt \\
      --auf-server-uebertragen "$verbindung"

Danach startet scripts/run-demo.sh VERZEICHNIS das Projekt auf dem Server.
Beenden mit Strg+C (der Server und seine Daten werden dann entfernt).
EOF
while "${als[@]}" "$bin/pg_ctl" -D "$dir/data" status >/dev/null 2>&1; do
    sleep 2
done
echo "Der Datenbankserver ist beendet." >&2
