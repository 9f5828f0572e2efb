#!/usr/bin/env bash
# Runs the Windows tests of one cross build under Wine, headless:
#   run-wine-tests.sh <build folder> <32|64> [artifacts folder]
# Registration with regsvr32 (twice, then unregistration), VBScript and JScript clients through
# cscript, the C++ client, every member by name against its direct call, the paddle window with
# a screenshot, the tramox command-line client, and the installer. Each step
# must print its sentinel; every Wine program runs under a time limit.
set -uo pipefail
build=$(cd "$1" && pwd)
bits=$2
mkdir -p "${3:-$build/artifacts}"
artifacts=$(cd "${3:-$build/artifacts}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
failures=0
step() { printf '\n== [%s-bit] %s\n' "$bits" "$*"; }
pass() { printf 'PASS %s\n' "$*"; }
fail() { printf 'FAIL %s\n' "$*"; failures=$((failures + 1)); }
# Prints what a test program said (its "ok" lines left out); the step passes when the program
# ended with "<sentinel> failures=0" and exit code 0.
judge() { # label sentinel output exit-code
  printf '%s\n' "$3" >"$artifacts/$(printf '%s' "$1" | tr -c 'A-Za-z0-9\n' '-')-$bits.txt"
  printf '%s\n' "$3" | grep -v '^ok '
  if printf '%s\n' "$3" | grep -q "^$2 failures=0\$" && [ "$4" = 0 ]; then pass "$1"
  elif [ "$4" = 124 ]; then fail "$1 (stopped at its time limit)"
  else fail "$1 (exit $4)"; fi
}

# Without the 32-bit Wine (its i386 packages could not be installed) the 32-bit run, and the
# installer (a 32-bit program) of the 64-bit one, are skipped, saying so, rather than failing.
have_wine32() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; }
if [ "$bits" = 32 ] && ! have_wine32; then
  echo "TRAMOX-WINE-32 skipped: wine32:i386 is not installed"
  exit 0
fi

if [ "$bits" = 32 ]; then
  wine_run() { timeout "${wine_limit:-120}" wine "$@"; }
  sysdir=$WINEPREFIX/drive_c/windows/syswow64
  regview=/reg:32
else
  wine_run() { timeout "${wine_limit:-120}" /usr/lib/wine/wine64 "$@"; }
  sysdir=$WINEPREFIX/drive_c/windows/system32
  regview=/reg:64
fi
# On a loaded machine a Wine program now and then prints nothing at all: a query that answers
# nothing is asked again (a value that is missing stays missing).
reg_query() {
  local answer attempt
  for attempt in 1 2 3; do
    answer=$(wine_run reg query "$@" "$regview" 2>/dev/null | tr -d '\r')
    [ -n "$answer" ] && break
  done
  printf '%s\n' "$answer"
}

# Only ever remove the prefix this script made.
step "Wine prefix"
if [ -d "$WINEPREFIX" ] && [ -f "$WINEPREFIX/.tramox-prefix" ]; then
  wineserver -k 2>/dev/null
  rm -rf "$WINEPREFIX"
fi
mkdir -p "$WINEPREFIX" && touch "$WINEPREFIX/.tramox-prefix"
timeout 180 wineboot -i >/dev/null 2>&1
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] && pass "prefix ready" || { fail "wineboot"; exit 1; }
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null

# Messages that would otherwise wait for a click go to a file.
messages_unix=$WINEPREFIX/drive_c/tramox-messages.txt
export TRAMOX_MESSAGE_FILE='C:\tramox-messages.txt'
export TRAMOX_HOME='C:\tramox-home'
mkdir -p "$WINEPREFIX/drive_c/tramox-home"
export TRAMOX_SIM="slew=60"

# The driver goes into a folder whose name has a blank: registration must shorten it.
install_dir="$WINEPREFIX/drive_c/Program Files/TRAMOX Test"
mkdir -p "$install_dir"
cp "$build/bin/TRAMOX.dll" "$build/bin/TestProfile.dll" "$install_dir/"
cp "$build/simulator/Tramox_Telescope.dll" "$sysdir/"
dll='C:\Program Files\TRAMOX Test\TRAMOX.dll'
clsid_of() { reg_query 'HKCR\TRAMOX.Telescope\Clsid' /ve | awk '/REG_SZ/ {print $NF}'; }

step "Registration"
wine_run regsvr32 /s "$dll"; rc=$?
[ $rc = 0 ] && pass "regsvr32 exit 0" || fail "regsvr32 exit $rc"
clsid=$(clsid_of)
[ -n "$clsid" ] && pass "TRAMOX.Telescope -> $clsid" || fail "no ProgID key"
server=$(reg_query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve | sed -n 's/.*REG_SZ *//p')
model=$(reg_query "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel | awk '/REG_SZ/ {print $NF}')
case "$server" in *" "*|"") fail "InprocServer32 not in short form: [$server]" ;; *) pass "InprocServer32 $server" ;; esac
[ "$model" = Apartment ] && pass "ThreadingModel Apartment" || fail "ThreadingModel [$model]"
for key in ProgID Version TypeLib; do
  value=$(reg_query "HKCR\\CLSID\\$clsid\\$key" /ve | sed -n 's/.*REG_SZ *//p')
  [ -n "$value" ] && pass "$key = $value" || fail "$key missing"
done
default_of() { reg_query "$1" /ve | sed -n 's/.*REG_SZ *//p'; }
typelib=$(default_of "HKCR\\CLSID\\$clsid\\TypeLib")
# Every class: its description, server, threading model, ProgID, Version and TypeLib, and
# the programmatic identifier's key pointing back with the same description.
clsids=""
for entry in "TRAMOX.Rate|Rate Object" "TRAMOX.Rates|Rates Object" \
             "TRAMOX.TrackingRatesCol|TrackingRatesCol Object" "TRAMOX.Telescope|Telescope Object"; do
  progid=${entry%%|*} description=${entry#*|}
  id=$(default_of "HKCR\\$progid\\Clsid")
  clsids="$clsids $id"
  key="HKCR\\CLSID\\$id"
  got="$(default_of "$key")|$(default_of "$key\\InprocServer32")|$(default_of "$key\\ProgID")|$(default_of "$key\\Version")|$(default_of "$key\\TypeLib")|$(default_of "HKCR\\$progid")"
  model=$(reg_query "$key\\InprocServer32" /v ThreadingModel | awk '/REG_SZ/ {print $NF}')
  want="$description|$server|$progid|1.0|$typelib|$description"
  [ -n "$id" ] && [ "$got" = "$want" ] && [ "$model" = Apartment ] && pass "$progid: $got" ||
    fail "$progid registered as [$got] model [$model], expected [$want]"
  subkeys=$(reg_query "$key" | grep -ci "^HKEY_CLASSES_ROOT\\\\CLSID\\\\$id\\\\")
  [ "$subkeys" = 4 ] && pass "$progid: exactly four subkeys" || fail "$progid: $subkeys subkeys"
done
[ -n "$(reg_query "HKCR\\TypeLib\\$typelib\\1.0" /ve | awk '/REG_SZ/')" ] &&
  pass "type library $typelib 1.0 registered" || fail "type library not registered"
reg_export() { wine_run reg export "$1" "$2" "$regview" /y >/dev/null 2>&1; tr -d '\r\000' < "$2" 2>/dev/null | sort; }
snapshot() {
  reg_export "HKCR\\CLSID\\$clsid" "$WINEPREFIX/drive_c/snap1.reg"
  reg_export 'HKCR\TRAMOX.Telescope' "$WINEPREFIX/drive_c/snap2.reg"
}
first=$(snapshot)
wine_run regsvr32 /s "$dll"; rc=$?
second=$(snapshot)
[ $rc = 0 ] && [ "$first" = "$second" ] && pass "registering twice writes the same entries" || fail "second registration differs (rc $rc)"

run_platform_test() {
  out=$(wine_run "$install_dir/platform_services_test.exe" "$@" 2>&1 | tr -d '\r'); rc=$?
  judge "platform services $*" TRAMOX-PLATFORM-RESULT "$out" $rc
}
if [ -f "$build/bin/platform_services_test.exe" ]; then
  step "Platform services"
  cp "$build/bin/platform_services_test.exe" "$install_dir/"
  run_platform_test --no-profile
fi
wine_run regsvr32 /s "$install_dir/TestProfile.dll" || fail "TestProfile registration"
[ -f "$build/bin/platform_services_test.exe" ] && run_platform_test
wine_run reg add 'HKLM\Software\ASCOM\Telescope Drivers\TRAMOX.Telescope' /ve /d TRAMOX /f /reg:32 >/dev/null 2>&1

# Each script client starts from the simulator's fresh mount: one that dies mid-park must not
# leave the next one a parked mount and a second, misleading failure.
fresh_mount() { rm -f "$WINEPREFIX/drive_c/tramox-home/simulator-state"; }

step "VBScript"
fresh_mount
out=$(wine_run cscript //nologo 'Z:'"${here//\//\\}"'\scripts\telescope_test.vbs' 2>&1 | tr -d '\r'); rc=$?
judge "VBScript client" TRAMOX-VBS-RESULT "$out" $rc

tracking=$(wine_run reg query 'HKCU\Software\TRAMOX Test Profile\TRAMOX.Telescope' /v Tracking 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ {print $NF}')
case "$tracking" in Yes|No) pass "the driver keeps Tracking=$tracking in DriverHelper.Profile" ;; *) fail "profile value Tracking [$tracking]" ;; esac

step "JScript"
fresh_mount
out=$(wine_run cscript //nologo 'Z:'"${here//\//\\}"'\scripts\telescope_test.js' 2>&1 | tr -d '\r'); rc=$?
judge "JScript client" TRAMOX-JS-RESULT "$out" $rc

# Runs a Windows test program of the build from the install folder, on a virtual display; its
# arguments come as one string, already quoted for the shell.
run_on_display() { # program arguments
  cp "$build/bin/$1" "$install_dir/"
  timeout 150 xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    "$(declare -f wine_run); wine_run \"$install_dir/$1\" ${2:-}" 2>&1 | tr -d '\r'
}

if [ -f "$build/bin/tramox_com_client.exe" ]; then
  step "C++ client"
  # On a display: the client checks that the paddle window it leaves open keeps the module.
  out=$(run_on_display tramox_com_client.exe "'$dll'"); rc=$?
  judge "C++ client" TRAMOX-CPP-RESULT "$out" $rc
fi

step "Every member by name"
# Both simulated mounts start from the same place, whatever earlier steps left.
out=$(export TRAMOX_SIM="slew=60,reset=1,ra=6,dec=20" TRAMOX_SIM_JOURNAL='C:\walk-journal.txt'
      run_on_display every_member_walk.exe); rc=$?
judge "every member by name" TRAMOX-WALK-RESULT "$out" $rc

if [ -f "$build/bin/paddle_window_test.exe" ]; then
  step "Paddle window"
  shot_bmp="$WINEPREFIX/drive_c/paddle.bmp"
  # A virtual desktop: Wine then draws the title bar and frame itself, with no window manager.
  wine_run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine_run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
  out=$(run_on_display paddle_window_test.exe "'C:\\paddle.bmp'"); rc=$?
  judge "paddle window" TRAMOX-PADDLE-RESULT "$out" $rc
  if [ -f "$shot_bmp" ] && /usr/bin/convert "$shot_bmp" "$artifacts/paddle-$bits.png" 2>/dev/null; then
    pass "screenshot $artifacts/paddle-$bits.png"
  else
    fail "no paddle screenshot"
  fi
fi

if [ -f "$build/bin/tramox.exe" ] && [ -f "$here/tramox_client_test.sh" ]; then
  source "$here/tramox_client_test.sh"
  source "$here/alpaca_serve_test.sh"
fi

step "Unregistration"
wine_run regsvr32 /s /u "$dll"; rc=$?
[ $rc = 0 ] && pass "regsvr32 /u exit 0" || fail "regsvr32 /u exit $rc"
left=""
for key in "HKCR\\CLSID\\$clsid" 'HKCR\TRAMOX.Telescope' 'HKCR\TRAMOX.Rate' 'HKCR\TRAMOX.Rates' 'HKCR\TRAMOX.TrackingRatesCol' \
           "HKCR\\TypeLib\\$typelib"; do
  wine_run reg query "$key" "$regview" >/dev/null 2>&1 && left="$left $key"
done
for id in $clsids; do
  wine_run reg query "HKCR\\CLSID\\$id" "$regview" >/dev/null 2>&1 && left="$left CLSID\\$id"
done
[ -z "$left" ] && pass "every registered key removed" || fail "keys left:$left"
wine_run regsvr32 /s /u "$dll"; rc=$?
[ $rc = 0 ] && pass "unregistering again is harmless" || fail "second unregistration exit $rc"

if ls "$build"/installer/TRAMOX-setup-*.exe >/dev/null 2>&1 && [ -f "$here/installer_test.sh" ]; then
  step "Installer"
  if have_wine32; then
    source "$here/installer_test.sh"
  else
    echo "SKIP installer: it is a 32-bit program and wine32:i386 is not installed"
  fi
fi

if [ -s "$messages_unix" ]; then
  step "Messages shown during the run"
  cat "$messages_unix"
fi
wineserver -w
printf '\nTRAMOX-WINE-%s failures=%d\n' "$bits" "$failures"
[ "$failures" = 0 ]
