# Sourced by run-wine-tests.sh after the tramox client test, which put tramox.exe and the
# simulated controller beside the registered driver: `tramox.exe --sim serve` runs in the test
# prefix and the native Alpaca tests drive it over loopback from Linux (those that need
# simulator settings of their own skip themselves).
if [ -n "${TRAMOX_ALPACA_TESTS:-}" ] && [ -x "$TRAMOX_ALPACA_TESTS" ] && [ -f "$install_dir/tramox.exe" ]; then
  step "Alpaca server"
  serve_log=$artifacts/alpaca-serve-$bits.txt
  mkdir -p "$WINEPREFIX/drive_c/tramox-serve-home"
  TRAMOX_HOME='C:\tramox-serve-home' setsid timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c "$(declare -f wine_run); wine_run \"$install_dir/tramox.exe\" --sim serve --port 0 --discovery-port 0" \
    >"$serve_log" 2>&1 &
  serve_pid=$!
  port=""
  for _ in $(seq 1 120); do
    port=$(tr -d '\r' <"$serve_log" | sed -n 's|^Alpaca server on http://127\.0\.0\.1:\([0-9][0-9]*\)/$|\1|p')
    [ -n "$port" ] && break
    sleep 0.5
  done
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
  kill -TERM -- -"$serve_pid" 2>/dev/null
  wait "$serve_pid" 2>/dev/null
  wineserver -w
fi
