#!/usr/bin/env bash
# Run by alpaca_serve_test.sh against a tramox.exe serve whose simulator keeps a journal
# ($TRAMOX_SERVE_JOURNAL): hand motion on one axis and a page's held button on the other, then
# Ctrl+C to the server. Every motion must be stopped before the controller is closed and the
# server must end by itself. Prints "exit ok" and "stops ok", or what was seen instead.
server=$TRAMOX_ALPACA_SERVER
api=http://$server/api/v1/telescope/0
curl -s -m 30 -X PUT -d 'Connected=True' "$api/connected" >/dev/null
maximum=$(curl -s -m 30 "$api/axisrates?Axis=0" | sed -n 's/.*"Maximum":\([-0-9.eE+]*\).*/\1/p')
curl -s -m 30 -X PUT -d "Axis=0&Rate=${maximum:-1}" "$api/moveaxis" >/dev/null
curl -s -m 30 -X POST -H 'Content-Type: application/json' \
  -d '{"page":"leaving","action":"press","control":"ButtonNorth"}' "http://$server/paddle/event" >/dev/null
# This run's server: the other Wine run (32 or 64 bits) may have a tramox.exe of its own.
pid=""
for candidate in $(pgrep -x tramox.exe); do
  if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
    pid=$candidate
    break
  fi
done
# Wine turns SIGINT into the console's Ctrl+C event.
[ -n "$pid" ] && kill -INT "$pid"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then echo "exit ok"; else echo "exit: server $pid still running"; fi
journal=$(tr -d '\r' <"$TRAMOX_SERVE_JOURNAL")
# Every stop after the last motion and before the close.
order=$(printf '%s\n' "$journal" | awk '
  /^MoveEngineDevice_DLL/ { moved = NR; axis0 = 0; axis1 = 0 }
  /^StopTelescopeEngineDevice_DLL 1 0$/ { if (moved) axis0 = NR }
  /^StopTelescopeEngineDevice_DLL 0 1$/ { if (moved) axis1 = NR }
  /^CloseCodeursDevice_DLL/ { closed = NR }
  END { print (moved && axis0 > moved && axis1 > moved && closed > axis0 && closed > axis1) ? "ok" : "bad" }')
if [ "$order" = ok ]; then echo "stops ok"; else printf 'stops: journal\n%s\n' "$journal"; fi
