// Late-bound client of TRAMOX.Telescope through JScript, whose engine asks for _NewEnum and
// default members as methods. Ends with "TRAMOX-JS-RESULT failures=<n>" and exit code n.
var failures = 0;
function check(ok, what) {
  if (ok) {
    WScript.Echo("ok   " + what);
  } else {
    failures++;
    WScript.Echo("FAIL " + what);
  }
}
function hex(n) { return (n < 0 ? n + 0x100000000 : n).toString(16).toUpperCase(); }
function checkThrows(action, number, source, what) {
  try {
    action();
    check(false, what + ": no error");
  } catch (e) {
    check(hex(e.number) == hex(number), what + ": number " + hex(e.number));
    check(e.description.length > 0, what + ": description [" + e.description + "]");
  }
}

var t = new ActiveXObject("TRAMOX.Telescope");
check(t != null, "new ActiveXObject(\"TRAMOX.Telescope\")");
t.SiteLatitude = -33.5;
check(t.SiteLatitude == -33.5, "SiteLatitude round trip");
checkThrows(function () { t.SiteLatitude = 90.000001; }, 0x80040405, "TRAMOX.Telescope",
            "SiteLatitude = 90.000001");
check(t.SiteLatitude == -33.5, "a refused value changes nothing");
check(t.Name.length > 0, "Name");
check(t.CanPark == true, "CanPark");

t.Connected = true;
check(t.Connected == true, "Connected");
check(t.RightAscension >= 0 && t.RightAscension < 24, "RightAscension");

var n = 0, total = 0;
for (var e = new Enumerator(t.TrackingRates); !e.atEnd(); e.moveNext()) {
  n++;
  total += e.item();
}
check(n == 1 && total == t.TrackingRate, "Enumerator over TrackingRates (" + n + " items)");
check(t.TrackingRates.Item(1) == t.TrackingRate, "TrackingRates.Item(1)");
check(t.TrackingRates(1) == t.TrackingRate, "TrackingRates(1) through the default member");

var rates = t.AxisRates(1);
n = 0;
for (var r = new Enumerator(rates); !r.atEnd(); r.moveNext()) {
  n++;
  check(r.item().Maximum > 0, "AxisRates(1) rate " + n + " = " + r.item().Maximum);
}
check(n == 3, "Enumerator over AxisRates (" + n + " items)");
check(rates.Count == 3, "AxisRates(1).Count");
check(rates.Item(1).Minimum == rates.Item(1).Maximum, "Item(1) Minimum = Maximum");

t.Tracking = true;
t.SlewToCoordinates(7.25, -10);
check(Math.abs(t.RightAscension - 7.25) < 0.01, "SlewToCoordinates");
t.Tracking = false;
checkThrows(function () { t.SlewToCoordinates(7.25, -10); }, 0x80040401, "TRAMOX.Telescope",
            "SlewToCoordinates while not tracking");
checkThrows(function () { t.FindHome(); }, 0x80040400, "TRAMOX.Telescope", "FindHome");
t.Tracking = true;
t.Connected = false;
check(t.Connected == false, "disconnected");

WScript.Echo("TRAMOX-JS-RESULT failures=" + failures);
WScript.Quit(failures);
