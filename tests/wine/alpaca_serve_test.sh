# Sourced by run-wine-tests.sh after the tramox client test, which put tramox.exe and the
# simulated controller beside the registered driver: `tramox.exe --sim serve` runs in the test
# prefix and the native Alpaca tests drive it over loopback from Linux (those that need
# simulator settings of their own skip themselves).

# Starts `tramox.exe --sim serve` with its output in $1 (the environment as the caller set it);
# sets serve_pid, and port once the server has printed its address (empty when it did not).
start_serve() {
  mkdir -p "$WINEPREFIX/drive_c/tramox-serve-home"
  TRAMOX_HOME='C:\tramox-serve-home' setsid timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c "$(declare -f wine_run); wine_run \"$install_dir/tramox.exe\" --sim serve --port 0 --discovery-port 0" \
    >"$1" 2>&1 &
  serve_pid=$!
  port=""
  for _ in $(seq 1 120); do
    port=$(tr -d '\r' <"$1" | sed -n 's|^Alpaca server on http://127\.0\.0\.1:\([0-9][0-9]*\)/$|\1|p')
    [ -n "$port" ] && break
    sleep 0.5
  done
}

stop_serve() {
  kill -TERM -- -"$serve_pid" 2>/dev/null
  wait "$serve_pid" 2>/dev/null
  wineserver -w
}

if [ -n "${TRAMOX_ALPACA_TESTS:-}" ] && [ -x "$TRAMOX_ALPACA_TESTS" ] && [ -f "$install_dir/tramox.exe" ]; then
  step "Alpaca server"
  serve_log=$artifacts/alpaca-serve-$bits.txt
  start_serve "$serve_log"
  if [ -z "$port" ]; then
    fail "tramox.exe serve did not start: $(tr -d '\r' <"$serve_log")"
  else
    pass "tramox.exe serve on port $port"
    out=$(TRAMOX_ALPACA_SERVER=127.0.0.1:$port timeout 300 "$TRAMOX_ALPACA_TESTS" 2>&1); rc=$?
    printf '%s\n' "$out" >"$artifacts/alpaca-tests-$bits.txt"
    passed=$(printf '%s\n' "$out" | sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) test.*/\1/p')
    if [ $rc = 0 ] && [ "${passed:-0}" -gt 0 ]; then
      pass "Alpaca tests against tramox.exe serve ($passed passed)"
    else
      printf '%s\n' "$out" | grep -E '^\[  FAILED  \]|Failure' | head -20
      fail "Alpaca tests against tramox.exe serve (exit $rc, alpaca-tests-$bits.txt)"
    fi
  fi
  stop_serve

  # The driver's own error box (the paddle's, for a move the controller refuses) reaches the
  # page that pressed the button and the server's console.
  step "Alpaca server shows the driver's windows"
  refuse_log=$artifacts/alpaca-serve-refuse-$bits.txt
  TRAMOX_SIM="reset=1,refuse=MoveEngineDevice_DLL" start_serve "$refuse_log"
  if [ -z "$port" ]; then
    fail "tramox.exe serve did not start: $(tr -d '\r' <"$refuse_log")"
  else
    curl -s -m 30 -X PUT -d 'Connected=True' "http://127.0.0.1:$port/api/v1/telescope/0/connected" >/dev/null
    answer=$(curl -s -m 30 -X POST -H 'Content-Type: application/json' \
      -d '{"page":"wine","action":"press","control":"ButtonNorth"}' "http://127.0.0.1:$port/paddle/event")
    case "$answer" in
      *'"text":"Move Axis impossible."'*) pass "the paddle's error box reached the page" ;;
      *) fail "the paddle's error box did not reach the page: $answer" ;;
    esac
    if tr -d '\r' <"$refuse_log" | grep -qx 'messagebox: Move Axis impossible.'; then
      pass "the paddle's error box reached the console"
    else
      fail "the paddle's error box did not reach the console: $(tr -d '\r' <"$refuse_log")"
    fi
  fi
  stop_serve
fi
