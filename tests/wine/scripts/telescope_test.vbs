' Late-bound client of TRAMOX.Telescope as script hosts use it. Ends with the line
' "TRAMOX-VBS-RESULT failures=<n>" and exit code n: a script that dies early prints no result.
Option Explicit
Dim failures : failures = 0
Dim degree : degree = Chr(176) ' ChrW is missing from some script engines

Sub Check(ok, what)
  If ok Then
    WScript.Echo "ok   " & what
  Else
    failures = failures + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

Sub CheckErrorFrom(source, number, description, what)
  Check Err.Number = number, what & ": Err.Number " & Hex(Err.Number)
  If description <> "" Then Check Err.Description = description, what & ": Err.Description [" & Err.Description & "]"
  Check Err.Source = source, what & ": Err.Source [" & Err.Source & "]"
  Err.Clear
End Sub

Sub CheckError(number, description, what)
  CheckErrorFrom "TRAMOX.Telescope", number, description, what
End Sub

' Under Wine cscript prints nothing for a script error: a call that must succeed says why not.
Sub CheckNoError(what)
  If Err.Number = 0 Then
    Check True, what
  Else
    Check False, what & ": Err.Number " & Hex(Err.Number) & " [" & Err.Description & "]"
  End If
  Err.Clear
End Sub

' Wine's WScript has no Sleep (error 445): the pause waits on the clock instead. Timer counts
' seconds since midnight.
Sub Pause(seconds)
  Dim start, elapsed
  start = Timer
  Do
    elapsed = Timer - start
    If elapsed < 0 Then elapsed = elapsed + 86400
  Loop While elapsed < seconds
End Sub

Dim shell : Set shell = CreateObject("WScript.Shell")
Dim t : Set t = CreateObject("TRAMOX.Telescope")
Check IsObject(t), "CreateObject(""TRAMOX.Telescope"")"

' Site settings, before and after connecting.
t.SiteLatitude = 45.5
t.SiteLongitude = 10
t.SiteElevation = 250
Check t.SiteLatitude = 45.5, "SiteLatitude round trip"
Check t.SiteLongitude = 10, "SiteLongitude round trip"
Check t.SiteElevation = 250, "SiteElevation round trip"
Check Not t.Connected, "not connected at first"

On Error Resume Next
t.SiteLatitude = 91
CheckError &H80040405, "Latitude must be in the range [-90" & degree & ",90" & degree & "]", "SiteLatitude = 91"
t.SiteElevation = 10001
CheckError &H80040405, "Elevation must be in the range [-300m,10000m]", "SiteElevation = 10001"
t.SiteLongitude = -181
CheckError &H80040405, "Longitude must be in the range [-180" & degree & ",180" & degree & "]", "SiteLongitude = -181"
On Error GoTo 0
Check t.SiteLatitude = 45.5, "a refused value changes nothing"

' Identity and capabilities.
Check Len(t.Name) > 0, "Name [" & t.Name & "]"
Check VarType(t.Description) = vbString, "Description [" & t.Description & "]"
Check Len(t.DriverInfo) > 0, "DriverInfo"
Check Len(t.DriverVersion) > 0, "DriverVersion"
Check t.InterfaceVersion = 2, "InterfaceVersion"
Check t.CanPark And t.CanSlew And t.CanSync, "CanPark, CanSlew, CanSync"
Check Not t.CanSlewAltAz, "CanSlewAltAz is false"
Check t.CanMoveAxis(0) = True, "CanMoveAxis(axisPrimary)"

' Connecting shows the paddle and reads the position.
t.Connected = True
Check t.Connected, "Connected"
Dim ra : ra = t.RightAscension
Dim dec : dec = t.Declination
Check ra >= 0 And ra < 24, "RightAscension " & ra
Check dec >= -90 And dec <= 90, "Declination " & dec
Check t.SiderealTime >= 0 And t.SiderealTime < 24, "SiderealTime"
Check Year(t.UTCDate) >= 2020, "UTCDate " & t.UTCDate
Check t.AlignmentMode = 2, "AlignmentMode algGermanPolar"
Check t.SideOfPier = 0 Or t.SideOfPier = 1, "SideOfPier"
Check Not t.Slewing, "not slewing"

' Collections: For Each, the default member, Count.
Dim tr, n, total : n = 0 : total = 0
For Each tr In t.TrackingRates
  n = n + 1 : total = total + tr
Next
Check n = 1 And total = t.TrackingRate, "For Each over TrackingRates (" & n & " items)"
Check t.TrackingRates.Count = 1, "TrackingRates.Count"
Check t.TrackingRates(1) = t.TrackingRate, "TrackingRates(1) through the default member"
Check t.TrackingRates.Item(1) = t.TrackingRate, "TrackingRates.Item(1)"
Dim rates : Set rates = t.AxisRates(0)
Check rates.Count = 3, "AxisRates(0).Count"
Dim r : n = 0
For Each r In rates
  n = n + 1
  Check r.Maximum > 0 And r.Minimum = r.Maximum, "AxisRates rate " & n & " = " & r.Maximum
Next
Check n = 3, "For Each over AxisRates (" & n & " items)"
Check t.AxisRates(1)(2).Maximum > 0, "AxisRates(1)(2) through the default member"
On Error Resume Next
Dim bad : bad = t.TrackingRates(9)
CheckErrorFrom "TRAMOX.TrackingRatesCol", &H80040405, "Invalid tracking rate index", "TrackingRates(9)"
On Error GoTo 0

' Tracking, slews, syncs, targets, motion and guiding.
t.Tracking = True
Check t.Tracking, "Tracking on"
t.TargetRightAscension = 5.5
t.TargetDeclination = 20
Check t.TargetRightAscension = 5.5 And t.TargetDeclination = 20, "targets"
t.SlewToCoordinates 5.5, 20
Check Not t.Slewing, "synchronous slew has ended"
Check Abs(t.RightAscension - 5.5) < 0.01 And Abs(t.Declination - 20) < 0.1, "position after the slew"
t.SyncToCoordinates 6, 21
Check Abs(t.Declination - 21) < 0.1, "SyncToCoordinates"
t.MoveAxis 0, rates(2).Maximum
t.MoveAxis 0, 0
t.PulseGuide 0, 10
Check True, "MoveAxis and PulseGuide accepted"
On Error Resume Next
t.SlewToAltAz 100, 45
CheckError &H80040400, "", "SlewToAltAz is not implemented"
t.Tracking = False
CheckNoError "Tracking off"
t.SlewToCoordinates 5.5, 20
CheckError &H80040401, "", "SlewToCoordinates while not tracking"
On Error GoTo 0

' Parking.
On Error Resume Next
t.Tracking = True
CheckNoError "Tracking on before parking"
t.SetPark
CheckNoError "SetPark"
t.Park
CheckNoError "Park"
' Parked once the mount has arrived, as a client polls for it.
Dim polls : polls = 0
Do While Not t.AtPark And polls < 200
  Pause 0.05 : polls = polls + 1
Loop
CheckNoError "AtPark while parking"
Check t.AtPark And Not t.Slewing, "AtPark after Park"
t.MoveAxis 0, 0
CheckError &H80040401, "", "MoveAxis while parked"
On Error GoTo 0
t.Unpark
Check Not t.AtPark, "Unpark"

' A failure without a code of its own: the log switch stored with the wrong type.
shell.RegWrite "HKCU\SOFTWARE\TRAMOX\LogEnabled", "yes", "REG_SZ"
On Error Resume Next
Dim c : c = t.Connected
CheckError &H8000FFFF, "Type de donn" & Chr(233) & "es incorrect pour 'LogEnabled' (""LogEnabled""=""yes"")", "LogEnabled as text"
On Error GoTo 0
shell.RegWrite "HKCU\SOFTWARE\TRAMOX\LogEnabled", 1, "REG_DWORD"
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
If fso.FileExists("C:\TRAMO_DLL.log") Then fso.DeleteFile "C:\TRAMO_DLL.log"
c = t.CanPark
shell.RegWrite "HKCU\SOFTWARE\TRAMOX\LogEnabled", 0, "REG_DWORD"
Dim logText : logText = ""
If fso.FileExists("C:\TRAMO_DLL.log") Then logText = fso.OpenTextFile("C:\TRAMO_DLL.log").ReadAll
Check InStr(logText, " :ASK for CanPark") > 0, "log line for CanPark [" & logText & "]"

t.Connected = False
Check Not t.Connected, "disconnected"
Set rates = Nothing
Set t = Nothing

WScript.Echo "TRAMOX-VBS-RESULT failures=" & failures
WScript.Quit failures
