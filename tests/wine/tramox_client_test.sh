# Sourced by run-wine-tests.sh while the driver is registered: the tramox command-line client
# runs a script on the simulated controller through real COM, in a home of its own, and every
# result line is checked against tramox_client.expected (one extended regular expression per
# line: exact where the result is deterministic, a pattern for positions).
step "tramox client"
cp "$build/bin/tramox.exe" "$build/simulator/Tramox_Telescope.dll" "$install_dir/"
mkdir -p "$WINEPREFIX/drive_c/tramox-client-home"
cp "$here/scripts/tramox_client.txt" "$WINEPREFIX/drive_c/tramox-client.txt"
out=$(TRAMOX_HOME='C:\tramox-client-home' timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
      "$(declare -f wine_run); wine_run \"$install_dir/tramox.exe\" --sim script 'C:\\tramox-client.txt'" \
      2>"$artifacts/tramox-client-$bits.err" | tr -d '\r'); rc=$?
printf '%s\n' "$out" > "$artifacts/tramox-client-$bits.txt"
mapfile -t got <<< "$out"
mapfile -t want < "$here/scripts/tramox_client.expected"
mismatch=""
for i in "${!want[@]}"; do
  if ! [[ "${got[$i]:-<missing>}" =~ ${want[$i]} ]]; then
    mismatch="line $((i + 1)): [${got[$i]:-<missing>}] does not match ${want[$i]}"
    break
  fi
done
[ -z "$mismatch" ] && [ "${#got[@]}" -gt "${#want[@]}" ] && mismatch="extra line: [${got[${#want[@]}]}]"
if [ $rc = 0 ] && [ -z "$mismatch" ]; then
  pass "tramox --sim script (${#want[@]} lines)"
else
  printf '%s\n' "$out"
  cat "$artifacts/tramox-client-$bits.err"
  fail "tramox --sim script (exit $rc) $mismatch"
fi
