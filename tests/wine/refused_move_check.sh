#!/usr/bin/env bash
# Run by alpaca_serve_test.sh against a tramox.exe serve whose simulator refuses to move: a
# press on the web paddle must bring the paddle's error box to the page and to the console
# ($TRAMOX_SERVE_CONSOLE). Prints "page ok" and "console ok", or what was seen instead.
server=$TRAMOX_ALPACA_SERVER
curl -s -m 30 -X PUT -d 'Connected=True' "http://$server/api/v1/telescope/0/connected" >/dev/null
answer=$(curl -s -m 30 -X POST -H 'Content-Type: application/json' \
  -d '{"page":"wine","action":"press","control":"ButtonNorth"}' "http://$server/paddle/event")
case "$answer" in
  *'"text":"Move Axis impossible."'*) echo "page ok" ;;
  *) echo "page: $answer" ;;
esac
if tr -d '\r' <"$TRAMOX_SERVE_CONSOLE" | grep -qx 'messagebox: Move Axis impossible.'; then
  echo "console ok"
else
  echo "console: $(tr -d '\r' <"$TRAMOX_SERVE_CONSOLE")"
fi
