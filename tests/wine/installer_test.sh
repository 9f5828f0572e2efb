# Sourced by run-wine-tests.sh after the registration tests: installs silently with the
# simulated controller, checks what was added and that the driver works, then uninstalls
# silently and checks that everything added is gone.
setup=$(ls "$build"/installer/TRAMOX-setup-*.exe 2>/dev/null | head -1)
if [ "$bits" = 32 ]; then program_files="$WINEPREFIX/drive_c/Program Files (x86)/TRAMOX"; else program_files="$WINEPREFIX/drive_c/Program Files/TRAMOX"; fi
ascom_key='HKLM\Software\ASCOM\Telescope Drivers\TRAMOX.Telescope'
# Start from a machine without the driver, its profile key or a controller library.
wine_run reg delete "$ascom_key" /f /reg:32 >/dev/null 2>&1
rm -f "$sysdir/Tramox_Telescope.dll"
cp "$setup" "$WINEPREFIX/drive_c/setup.exe"
timeout 180 wine 'C:\setup.exe' /S /SIMULATOR /LOGONSTART; rc=$?
wineserver -w
[ $rc = 0 ] && pass "installer /S exit 0" || fail "installer exit $rc"
[ -f "$program_files/TRAMOX.dll" ] && pass "TRAMOX.dll installed" || fail "no $program_files/TRAMOX.dll"
[ -f "$program_files/tramox.exe" ] && pass "tramox.exe installed" || fail "no $program_files/tramox.exe"
# The Start-menu shortcut and the one started at logon.
server_shortcuts() { find "$WINEPREFIX/drive_c" -name 'TRAMOX Alpaca server.lnk' 2>/dev/null; }
shortcuts=$(server_shortcuts)
case "$shortcuts" in
  *"/Programs/TRAMOX/"*"/StartUp/"*|*"/StartUp/"*"/Programs/TRAMOX/"*) pass "server shortcuts in the Start menu and at logon" ;;
  *) fail "server shortcuts: [$shortcuts]" ;;
esac
[ -f "$sysdir/Tramox_Telescope.dll" ] && pass "simulated controller installed" || fail "no controller library in $sysdir"
name=$(wine_run reg query "$ascom_key" /ve /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$name" = TRAMOX ] && pass "ASCOM profile key, default value [$name]" || fail "ASCOM key [$name]"
[ -n "$(clsid_of)" ] && pass "installed driver registered" || fail "installed driver not registered"
printf 'Dim t : Set t = CreateObject("TRAMOX.Telescope")\r\nt.Connected = True\r\nWScript.Echo "TRAMOX-INSTALLED " & t.Name & " " & t.Connected\r\nt.Connected = False\r\n' \
  > "$WINEPREFIX/drive_c/installed.vbs"
out=$(wine_run cscript //nologo 'C:\installed.vbs' 2>&1 | tr -d '\r')
[ "$out" = "TRAMOX-INSTALLED TRAMOX True" ] && pass "installed driver connects to the simulated controller" || fail "installed driver: [$out]"

timeout 180 wine "$program_files/uninstall.exe" /S; rc=$?
wineserver -w
[ $rc = 0 ] && pass "uninstaller /S exit 0" || fail "uninstaller exit $rc"
[ ! -e "$program_files" ] && pass "installation folder removed" || fail "left behind: $(ls "$program_files" 2>&1)"
[ -z "$(server_shortcuts)" ] && pass "server shortcuts removed" || fail "shortcuts left: $(server_shortcuts)"
[ ! -f "$sysdir/Tramox_Telescope.dll" ] && pass "simulated controller removed" || fail "controller library left"
wine_run reg query "$ascom_key" /reg:32 >/dev/null 2>&1 && fail "ASCOM key left" || pass "ASCOM key removed"
[ -z "$(clsid_of)" ] && pass "driver unregistered" || fail "driver still registered"

# An ASCOM key that was there before the installation (a profile the ASCOM platform keeps)
# stays after the uninstallation, with its values.
wine_run reg add "$ascom_key" /v Tracking /t REG_SZ /d Yes /f /reg:32 >/dev/null 2>&1
timeout 180 wine 'C:\setup.exe' /S; rc=$?
wineserver -w
timeout 180 wine "$program_files/uninstall.exe" /S; rc2=$?
wineserver -w
[ $rc = 0 ] && [ $rc2 = 0 ] && pass "reinstall over an existing ASCOM key and uninstall" || fail "installer exit $rc, uninstaller exit $rc2"
kept=$(wine_run reg query "$ascom_key" /v Tracking /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$kept" = Yes ] && pass "an ASCOM key that was already there is kept" || fail "existing ASCOM key lost [$kept]"
wine_run reg delete "$ascom_key" /f /reg:32 >/dev/null 2>&1
