# Sourced by run-wine-tests.sh after the tramox client test, which put tramox.exe and the
# simulated controller beside the registered driver: `tramox.exe --sim serve` runs in the test
# prefix and native programs drive it over loopback from Linux: the Alpaca tests (those that
# need simulator settings of their own skip themselves), then the conformance suite against a
# server of its own.

# Starts `tramox.exe --sim serve` with TRAMOX_HOME C:\<home> and TRAMOX_SIM <simulator> (none
# when empty; the server may run as long as the limit of 600 s, not a Wine program's
# usual 120 s), runs <program> against it and stops the server; the program's output is in
# $run_out (and $artifacts/<output>), its exit status in $run_rc. False when the server did
# not start.
serve_and_run() { # label home simulator program output
  local log=$artifacts/serve-$2-$bits.txt port="" pid
  mkdir -p "$WINEPREFIX/drive_c/$2"
  : >"$log"  # read below before the server's shell may have opened it
  TRAMOX_HOME="C:\\$2" env ${3:+"TRAMOX_SIM=$3"} setsid timeout 600 \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c "wine_limit=600; $(declare -f wine_run); wine_run \"$install_dir/tramox.exe\" --sim serve --port 0 --discovery-port 0" \
    >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 1 120); do
    port=$(tr -d '\r' <"$log" | sed -n 's|^Alpaca server on http://127\.0\.0\.1:\([0-9][0-9]*\)/$|\1|p')
    [ -n "$port" ] && break
    sleep 0.5
  done
  if [ -z "$port" ]; then
    fail "$1: tramox.exe serve did not start: $(tr -d '\r' <"$log")"
  else
    pass "$1: tramox.exe serve on port $port"
    run_out=$(TRAMOX_ALPACA_SERVER=127.0.0.1:$port timeout 300 "$4" 2>&1); run_rc=$?
    printf '%s\n' "$run_out" >"$artifacts/$5"
  fi
  kill -TERM -- -"$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  wineserver -w
  [ -n "$port" ]
}

if [ -n "${TRAMOX_ALPACA_TESTS:-}" ] && [ -x "$TRAMOX_ALPACA_TESTS" ] && [ -f "$install_dir/tramox.exe" ]; then
  step "Alpaca server"
  if serve_and_run "Alpaca tests" tramox-serve-home "" "$TRAMOX_ALPACA_TESTS" "alpaca-tests-$bits.txt"; then
    passed=$(printf '%s\n' "$run_out" | sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) test.*/\1/p')
    if [ $run_rc = 0 ] && [ "${passed:-0}" -gt 0 ]; then
      pass "Alpaca tests against tramox.exe serve ($passed passed)"
    else
      printf '%s\n' "$run_out" | grep -E '^\[  FAILED  \]|Failure' | head -20
      fail "Alpaca tests against tramox.exe serve (exit $run_rc, alpaca-tests-$bits.txt)"
    fi
  fi
fi

# The conformance suite reads the targets before it writes them and stores a park position:
# it gets a fresh simulated mount (fast slews keep it within minutes) and a home of its own.
# The guide rate is stored by hand first, as its native run does (half the sidereal rate).
if [ -n "${TRAMOX_CONFORMANCE:-}" ] && [ -x "$TRAMOX_CONFORMANCE" ] && [ -f "$install_dir/tramox.exe" ]; then
  step "Conformance suite"
  wine_run reg add 'HKCU\Software\TRAMOX' /v GuideRate /t REG_BINARY /d 000000000000e03f /f >/dev/null 2>&1
  if serve_and_run "conformance" tramox-conformance-home "reset=1,slew=60" "$TRAMOX_CONFORMANCE" \
      "conformance-$bits.txt"; then
    printf '%s\n' "$run_out" | grep -v '^OK '
    if [ $run_rc = 0 ] && printf '%s\n' "$run_out" | grep -q '^Conformance: .* 0 undocumented$'; then
      pass "conformance suite against tramox.exe serve"
    else
      fail "conformance suite against tramox.exe serve (exit $run_rc, conformance-$bits.txt)"
    fi
  fi
fi

# The driver's own error box (the paddle's, for a move the controller refuses) reaches the page
# that pressed the button and the server's console (refused_move_check.sh).
if [ -f "$install_dir/tramox.exe" ]; then
  step "Alpaca server shows the driver's windows"
  export TRAMOX_SERVE_CONSOLE=$artifacts/serve-tramox-refuse-home-$bits.txt
  if serve_and_run "refused move" tramox-refuse-home "reset=1,refuse=MoveEngineDevice_DLL" \
      "$here/refused_move_check.sh" "alpaca-refused-move-$bits.txt"; then
    case "$run_out" in
      *"page ok"*) pass "the paddle's error box reached the page" ;;
      *) fail "the paddle's error box did not reach the page: $run_out" ;;
    esac
    case "$run_out" in
      *"console ok"*) pass "the paddle's error box reached the console" ;;
      *) fail "the paddle's error box did not reach the console: $run_out" ;;
    esac
  fi
fi

# Ctrl+C while a client moves an axis and a page holds a button: the server stops both before
# it closes the controller, and ends by itself (leaving_check.sh).
if [ -f "$install_dir/tramox.exe" ]; then
  step "Alpaca server leaves the mount still"
  export TRAMOX_SIM_JOURNAL='C:\tramox-leave-home\journal.txt'
  export TRAMOX_SERVE_JOURNAL=$WINEPREFIX/drive_c/tramox-leave-home/journal.txt
  if serve_and_run "leaving" tramox-leave-home "reset=1" "$here/leaving_check.sh" \
      "alpaca-leaving-$bits.txt"; then
    for said in "exit ok|the server ended after Ctrl+C" "stops ok|both axes stopped before the controller closed"; do
      case "$run_out" in
        *"${said%%|*}"*) pass "${said#*|}" ;;
        *) fail "leaving: $run_out" ;;
      esac
    done
  fi
  unset TRAMOX_SIM_JOURNAL
fi
