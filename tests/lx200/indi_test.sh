#!/bin/bash
# INDI's own LX200 driver against the listener: `indiserver` runs `indi_lx200generic`
# ("Standard LX200") on a TCP connection to a `tramox --sim serve --lx200-port` of the test's
# own, driven headless with indi_setprop / indi_getprop / indi_eval, while curl reads the same
# mount through Alpaca and the simulator's journal shows the controller calls.
# Usage: indi_test.sh TRAMOX
set -u
tramox=$1
work=$(mktemp -d /tmp/tramox-indi-XXXXXX)
failures=0
server_pid=""
indi_pid=""

cleanup() {
  [ -n "$indi_pid" ] && kill "$indi_pid" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

pass() { echo "ok - $1"; }
fail() {
  echo "not ok - $1"
  failures=$((failures + 1))
}
check() { # description, command...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# A port nothing listens on.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
  done
  echo "$port"
}

mkdir -p "$work/home" "$work/tramox"
export HOME=$work/home
journal=$work/journal
: >"$journal"
TRAMOX_HOME=$work/tramox TRAMOX_SIM=reset=1,slew=60 TRAMOX_SIM_JOURNAL=$journal \
  timeout 110 "$tramox" --sim serve --port 0 --discovery-port 0 --lx200-port 0 \
  >"$work/serve.out" 2>"$work/serve.err" &
server_pid=$!
for _ in $(seq 1 50); do
  grep -q '^LX200 on TCP port' "$work/serve.out" && break
  sleep 0.1
done
alpaca_port=$(sed -n 's|^Alpaca server on http://127\.0\.0\.1:\([0-9]*\)/$|\1|p' "$work/serve.out")
lx200_port=$(sed -n 's/^LX200 on TCP port \([0-9]*\)$/\1/p' "$work/serve.out")
if [ -z "$lx200_port" ] || [ -z "$alpaca_port" ]; then
  echo "not ok - tramox serve did not start: $(cat "$work/serve.out" "$work/serve.err")"
  exit 1
fi

indi_port=$(free_port)
timeout 110 indiserver -p "$indi_port" -u "$work/indiserver.socket" indi_lx200generic >"$work/indi.log" 2>&1 &
indi_pid=$!

dev="Standard LX200"
iset() { timeout 5 indi_setprop -p "$indi_port" "$dev.$1"; }
iget() { timeout 5 indi_getprop -p "$indi_port" -1 "$dev.$1"; }
# Waits up to $1 seconds for an expression over the device's properties.
iwait() { timeout $(($1 + 5)) indi_eval -p "$indi_port" -t "$1" -w "$2" >/dev/null 2>&1; }
state() { echo "\"$dev.$1._STATE\"==$2"; }

alpaca() { # GET member, or PUT member form
  if [ $# = 1 ]; then
    curl -sf "http://127.0.0.1:$alpaca_port/api/v1/telescope/0/$1"
  else
    curl -sf -X PUT -d "$2" "http://127.0.0.1:$alpaca_port/api/v1/telescope/0/$1"
  fi | sed -n 's/^{"Value":\([^,]*\),.*/\1/p'
}
near() { # a b tolerance [period]
  awk -v a="$1" -v b="$2" -v t="$3" -v p="${4:-1e9}" 'BEGIN {
    if (a == "" || b == "") exit 1
    d = a - b; if (d < 0) d = -d; d = d - p * int(d / p); if (p - d < d) d = p - d
    exit !(d <= t) }'
}
# INDI's position is polled every second: agree within a few polls.
agrees() {
  for _ in $(seq 1 6); do
    near "$(iget EQUATORIAL_EOD_COORD.RA)" "$(alpaca rightascension)" 0.002 24 &&
      near "$(iget EQUATORIAL_EOD_COORD.DEC)" "$(alpaca declination)" 0.02 && return 0
    sleep 0.5
  done
  return 1
}
journal_has_after() { # line mark: the line appears in the journal after line number mark
  tail -n +"$(($2 + 1))" "$journal" | grep -qxF "$1"
}
mark() { wc -l <"$journal"; }

for _ in $(seq 1 50); do
  iget CONNECTION.CONNECT >/dev/null 2>&1 && break
  sleep 0.1
done
iset "CONNECTION_MODE.CONNECTION_TCP=On"
iset "DEVICE_ADDRESS.ADDRESS;PORT=127.0.0.1;$lx200_port"
start=$(date +%s)
iset "CONNECTION.CONNECT=On"
check "connects within a few seconds" iwait 8 "\"$dev.CONNECTION.CONNECT\"==1"
check "connect took under 4 s" test $(($(date +%s) - start)) -le 4
sleep 1.5
check "INDI's position equals Alpaca's" agrees
check "the LX200 client connected the mount" test "$(alpaca connected)" = true

iset "GEOGRAPHIC_COORD.LAT;LONG;ELEV=47.25;151.25;0"
sleep 1
check "site latitude written through INDI reads back through Alpaca" \
  near "$(alpaca sitelatitude)" 47.25 0.01
check "site longitude written through INDI reads back east-positive" \
  near "$(alpaca sitelongitude)" 151.25 0.01

# :SG, :SL and :SC: each answered as INDI reads it, or the time shows in alert after seconds.
iset "TIME_UTC.UTC;OFFSET=$(date -u +%Y-%m-%dT%H:%M:%S);2"
sleep 1.5
check "the time and UTC offset written through INDI are taken at once" \
  test "$(iget TIME_UTC._STATE)" = Ok

alpaca setpark "" >/dev/null
alpaca tracking "Tracking=false" >/dev/null
iset "ON_COORD_SET.TRACK=On"
iset "EQUATORIAL_EOD_COORD.RA;DEC=3.5;40.25"
check "a goto from a mount that is not tracking ends in INDI" \
  iwait 30 "$(state EQUATORIAL_EOD_COORD 1)"
check "the goto landed" near "$(alpaca rightascension)" 3.5 0.01
check "the goto turned tracking on" test "$(alpaca tracking)" = true
check "the goto was told on the console" grep -q "LX200 goto: tracking turned on" "$work/serve.err"

alpaca park "" >/dev/null
# The alert lasts until INDI's next poll: watch for it before the goto.
iwait 8 "$(state EQUATORIAL_EOD_COORD 3)" &
watcher=$!
sleep 0.5
iset "EQUATORIAL_EOD_COORD.RA;DEC=5;20"
check "a goto the driver refuses shows as refused" wait $watcher
check "the refusal's message is on the console" grep -q "LX200 goto refused: .*park" "$work/serve.err"
alpaca unpark "" >/dev/null
sleep 1.5
check "after the refusal INDI's position still agrees" agrees

iset "ON_COORD_SET.SYNC=On"
iset "EQUATORIAL_EOD_COORD.RA;DEC=4;41"
sleep 1.5
check "a sync through INDI moves Alpaca's position" near "$(alpaca rightascension)" 4 0.01
iset "ON_COORD_SET.TRACK=On"

at=$(mark)
iset "EQUATORIAL_EOD_COORD.RA;DEC=16;-30"
sleep 0.5
iset "TELESCOPE_ABORT_MOTION.ABORT=On"
sleep 1
check "abort stops the slew" journal_has_after StopSlewing_TelescopeSeekerDevice_DLL "$at"
check "after the abort the mount is not slewing" test "$(alpaca slewing)" = false

# INDI's 1x to 4x send :RG#, :RC#, :RM#, :RS#: the slowest class twice, the middle, the fastest.
for rate in 1x:2 2x:2 3x:1 4x:0; do
  at=$(mark)
  iset "TELESCOPE_SLEW_RATE.${rate%:*}=On"
  iset "TELESCOPE_MOTION_NS.MOTION_NORTH=On"
  sleep 0.4
  iset "TELESCOPE_MOTION_NS.MOTION_NORTH=Off"
  sleep 0.4
  check "motion north at ${rate%:*} starts" journal_has_after "MoveEngineDevice_DLL 0 ${rate#*:}" "$at"
  check "motion north at ${rate%:*} stops" journal_has_after "StopTelescopeEngineDevice_DLL 0 1" "$at"
done

at=$(mark)
iset "Use Pulse Cmd.On=On"
iset "TELESCOPE_TIMED_GUIDE_NS.TIMED_GUIDE_N=300"
sleep 1
check "a timed guide with the pulse command pulses" \
  journal_has_after "PulseGuideAscomDevice_DLL 0 0 0 300" "$at"
at=$(mark)
iset "Use Pulse Cmd.Off=On"
iset "TELESCOPE_TIMED_GUIDE_WE.TIMED_GUIDE_E=300"
sleep 1.2
check "a timed guide without it moves the axis" journal_has_after "MoveEngineDevice_DLL 2 2" "$at"
check "and stops it after its duration" journal_has_after "StopTelescopeEngineDevice_DLL 1 0" "$at"

iset "TELESCOPE_PARK.PARK=On"
check "park ends in INDI" iwait 30 "$(state TELESCOPE_PARK 1)"
check "the mount is parked" test "$(alpaca atpark)" = true

if [ $failures != 0 ]; then
  echo "--- tramox serve"
  cat "$work/serve.out" "$work/serve.err"
  echo "--- indiserver"
  tail -40 "$work/indi.log"
  exit 1
fi
echo "INDI test passed"
