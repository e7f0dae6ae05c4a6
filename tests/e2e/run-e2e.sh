#!/usr/bin/env bash
# End to end: the real monitor in a real X window (Xvfb) on a demo database, orders from the
# till simulator, real keypad key presses; then the database must show the order done.
# Usage: run-e2e.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELA_REGISTRY_DIR=$work/registry
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
db=$work/demo.db

"$bin/vela-demo" setup --db "$db" --fresh >/dev/null
# No label printer: marking done must not wait for a question.
sqlite3 "$db" "UPDATE SysData SET Value = '' WHERE Item = 'PLABEL DEV'"
"$bin/vela-demo" simulate --db "$db" --count 3 --interval 0 --seed 7 >/dev/null

waiting() { sqlite3 "$db" "SELECT COUNT(*) FROM Invoices WHERE Prepared = 0"; }
before=$(waiting)
[ "$before" -gt 0 ] || { echo "the simulator wrote no waiting order"; exit 1; }

cat >"$work/drive.sh" <<'DRIVE'
#!/usr/bin/env bash
# Runs inside the X server: start the monitor, press keys, wait on the database.
set -euo pipefail
bin=$1 db=$2 before=$3
waiting() { sqlite3 "$db" "SELECT COUNT(*) FROM Invoices WHERE Prepared = 0"; }
# Waits up to $1 tenths of a second for the waiting count to drop; true when it did.
wait_done() {
  for _ in $(seq 1 "$1"); do
    [ "$(waiting)" -lt "$before" ] && return 0
    sleep 0.1
  done
  return 1
}
"$bin/vela-kitchen" &
pid=$!
win=$(timeout 30 xdotool search --sync --name "Vela Kitchen Monitor" | head -1)
xdotool windowfocus --sync "$win" || true
xdotool key Num_Lock          # bump bars send keypad digits with NumLock on
xdotool key KP_2 KP_8         # next, previous
# The first poll may still be running when the window appears: a Done before any order
# is shown does nothing, so press it again until the database shows the order done.
marked=no
for _ in 1 2 3 4 5 6; do
  xdotool key KP_1
  if wait_done 50; then marked=yes; break; fi
done
[ "$marked" = yes ] || echo "keypad 1 marked no order done"
xdotool key KP_Subtract       # exit
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the monitor did not close on keypad minus"; kill "$pid"; exit 1
fi
wait "$pid"
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/drive.sh" "$bin" "$db" "$before"

done_rows=$(sqlite3 "$db" "SELECT COUNT(*) FROM Invoices WHERE Prepared = 1 AND TimeStampCooked IS NOT NULL")
after=$(waiting)
echo "waiting before: $before, after: $after; done with a cooked time: $done_rows"
[ "$done_rows" -ge 1 ] && [ "$after" -eq $((before - 1)) ]
