#!/usr/bin/env bash
# Start to first orders on screen, and resident memory with 600 orders held: the real
# monitor in a real X window (Xvfb, 1280x1024) on a fresh demo database of 600 orders.
# Builds nothing.
#
# Usage: bench/startup.sh BIN_DIR [RUNS]     (RUNS default 7)
#   BIN_DIR holds vela-kitchen and vela-demo (e.g. build/bin, or a Release build's bin/).
#
# Each run starts vela-kitchen with VELA_TRACE_STARTUP set, waits for its line "first
# orders on screen after N ms" (N counted from the process's start), lets it settle
# (STARTUP_SETTLE seconds, default 1), reads VmRSS and VmHWM from /proc/<pid>/status and
# ends it. Prints each run, then the medians. The monitor runs in BIN_DIR, so it loads its
# chime as installed; a machine without a sound device plays nothing.
set -euo pipefail
bin=$(cd "${1:?usage: startup.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-7}
settle=${STARTUP_SETTLE:-1}
orders=600

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELA_REGISTRY_DIR=$work/registry
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
db=$work/demo.db

"$bin/vela-demo" setup --db "$db" --fresh >/dev/null
# No label printer: nothing in the start waits on a printer.
sqlite3 "$db" "UPDATE SysData SET Value = '' WHERE Item = 'PLABEL DEV'"
"$bin/vela-demo" simulate --db "$db" --count "$orders" --interval 0 --seed 1 >/dev/null
# The simulator voids some orders at the till; a voided order is never fetched, and the
# monitor is to hold all 600.
sqlite3 "$db" "UPDATE Invoices SET Status = 0 WHERE Status <> 0"
live=$(sqlite3 "$db" "SELECT COUNT(*) FROM Invoices WHERE Status = 0 AND OrderNum > 0")
lines=$(sqlite3 "$db" "SELECT COUNT(*) FROM LineItem")
echo "demo database: $live live orders of the last minute, $lines line items"

# One run inside the X server: prints "ms rss_kB hwm_kB".
cat >"$work/run-one.sh" <<'RUN'
#!/usr/bin/env bash
set -euo pipefail
bin=$1 log=$2 settle=$3
cd "$bin"
VELA_TRACE_STARTUP=1 ./vela-kitchen >/dev/null 2>"$log" &
pid=$!
ms=
for _ in $(seq 1 300); do   # up to 30 s
  ms=$(sed -n 's/^first orders on screen after \([0-9-]*\) ms$/\1/p' "$log")
  [ -n "$ms" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$ms" ]; then
  echo "no orders on screen within 30 s; the monitor said:" >&2
  cat "$log" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep "$settle"
rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "$ms $rss $hwm"
RUN
chmod +x "$work/run-one.sh"

results=$work/results
: >"$results"
for i in $(seq 1 "$runs"); do
  line=$(xvfb-run -a -s "-screen 0 1280x1024x24" "$work/run-one.sh" "$bin" "$work/stderr-$i" "$settle")
  read -r ms rss hwm <<<"$line"
  printf 'run %d: first orders on screen after %d ms, VmRSS %.1f MB, VmHWM %.1f MB\n' \
    "$i" "$ms" "$(echo "$rss / 1024" | bc -l)" "$(echo "$hwm / 1024" | bc -l)"
  echo "$line" >>"$results"
done

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf 'median of %d runs: first orders on screen after %s ms, VmRSS %.1f MB, VmHWM %.1f MB\n' "$runs" \
  "$(cut -d' ' -f1 "$results" | median)" \
  "$(echo "$(cut -d' ' -f2 "$results" | median) / 1024" | bc -l)" \
  "$(echo "$(cut -d' ' -f3 "$results" | median) / 1024" | bc -l)"
