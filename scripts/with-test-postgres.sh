#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL server for the ODBC tests:
#   scripts/with-test-postgres.sh ctest --test-dir build/test -R odbc
# Creates a cluster in a temporary folder, starts it on a free loopback port
# (as the postgres system user when run as root, since initdb refuses root),
# exports
#   MX_TEST_ODBC             ODBC connection string (psqlODBC), no Database
#   MX_TEST_ODBC_SERVER_CTL  a command taking "stop" or "start"
#   ODBCSYSINI               a driver registration of the tests' own
# runs the command, then stops the server and removes the folder, also when
# the command fails or is interrupted. Exits with the command's status.
set -euo pipefail

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$pg_bin" ] || ! odbcinst -q -d -n "PostgreSQL Unicode" >/dev/null 2>&1; then
  echo "with-test-postgres: PostgreSQL or its ODBC driver is missing;" \
       "run scripts/install-deps.sh --test-server" >&2
  exit 1
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/mx-postgres.XXXXXX")
chmod 755 "$dir"
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$dir"
  as_owner=(runuser -u postgres --)
fi

password=$(od -An -tx1 -N12 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$dir/password"
chmod 600 "$dir/password"
[ "${#as_owner[@]}" -eq 0 ] || chown postgres: "$dir/password"

"${as_owner[@]}" "$pg_bin/initdb" -D "$dir/data" -U mx --pwfile="$dir/password" \
  --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 \
  --lc-collate=C >"$dir/initdb.log" 2>&1 ||
  { cat "$dir/initdb.log" >&2; rm -rf "$dir"; exit 1; }
rm -f "$dir/password"

# The control script the fault tests call, for the port in $port.
write_control() {
  cat >"$dir/ctl" <<EOF
#!/usr/bin/env bash
# Stops or starts the throwaway test server: ctl stop | ctl start
set -euo pipefail
case "\${1:-}" in
  stop)  exec ${as_owner[*]} "$pg_bin/pg_ctl" -D "$dir/data" -m fast -w stop ;;
  start) exec ${as_owner[*]} "$pg_bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \\
           -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start ;;
  *) echo "usage: \$0 stop|start" >&2; exit 2 ;;
esac
EOF
  chmod 755 "$dir/ctl"
}

cleanup() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    "${as_owner[@]}" "$pg_bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A port in the dynamic range; another one when it is taken.
started=
for _ in 1 2 3 4 5 6 7 8; do
  port=$((20000 + RANDOM % 30000))
  write_control
  if "$dir/ctl" start >/dev/null 2>&1; then
    started=1
    break
  fi
done
if [ -z "$started" ]; then
  echo "with-test-postgres: the server did not start:" >&2
  cat "$dir/server.log" >&2 || true
  exit 1
fi

# Debian registers psqlODBC with its communication log on, which leaves a
# /tmp/psqlodbc_*.log behind every process; the tests use a registration of
# their own without it.
driver_library=$(odbcinst -q -d -n "PostgreSQL Unicode" | sed -n 's/^Driver=//p')
cat >"$dir/odbcinst.ini" <<EOF
[PostgreSQL Unicode]
Description=psqlODBC for the tests, without its logs
Driver=$driver_library
CommLog=0
Debug=0
EOF
export ODBCSYSINI="$dir"
export MX_TEST_ODBC="Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;UID=mx;PWD=$password;"
export MX_TEST_ODBC_SERVER_CTL="$dir/ctl"
echo "with-test-postgres: PostgreSQL $("$pg_bin/postgres" --version | awk '{print $3}') on 127.0.0.1:$port"
status=0
"$@" || status=$?
exit "$status"
