// The hand paddle as a user meets it, under Wine on a virtual display: connect a
// TRAMOX.Telescope, find the window, read its captions and labels back, press and release the
// direction buttons, move the slider, click the buttons, and save a picture of the window.
// The driver's log shows what each control called. Messages go to TRAMOX_MESSAGE_FILE.
//   paddle_window_test <screenshot.bmp>
// Ends with "TRAMOX-PADDLE-RESULT failures=<n>" and exit code n.
#include <windows.h>

#include <commctrl.h>
#include <oleauto.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

// The interface identities are defined here, from the generated header.
#include <initguid.h>

#include "server/win32/tramox_typelib.h"
#include "tests/wine/clients/check_report.h"

namespace {

using tramox::wine_tests::check;
constexpr int kFirstControlId = 1000;  // PaddleWindow::kFirstControlId
// Creation order of the design.
enum Control {
  kImage,
  kLabelKing,
  kLabelPec,
  kLabelAd,
  kLabelDec,
  kLabelSideOfPier,
  kButtonSetPark,
  kButtonPark,
  kButtonTracking,
  kButtonWest,
  kButtonSouth,
  kButtonEast,
  kButtonNorth,
  kTrackBarSpeed,
  kButtonMaj
};

void pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

std::string textOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  char utf8[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, buffer, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

std::string messagePath() {
  char path[MAX_PATH] = {};
  GetEnvironmentVariableA("TRAMOX_MESSAGE_FILE", path, MAX_PATH);
  return path;
}

void pressAndRelease(HWND button, UINT down, UINT up) {
  PostMessageW(button, down, 0, MAKELPARAM(10, 10));
  pump(150);
  PostMessageW(button, up, 0, MAKELPARAM(10, 10));
  pump(150);
}

bool saveScreenshot(HWND window, const char* path) {
  RECT area{};
  GetWindowRect(window, &area);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageBytes;
  info.bmiHeader.biSizeImage = imageBytes;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), imageBytes);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return static_cast<bool>(out);
}

void exercise(HWND paddle, const char* screenshot) {
  auto control = [&](Control c) { return GetDlgItem(paddle, kFirstControlId + c); };
  const char* logPath = "C:\\TRAMO_DLL.log";

  // The window as designed.
  RECT frame{}, client{};
  GetWindowRect(paddle, &frame);
  GetClientRect(paddle, &client);
  check(frame.left == 816 && frame.top == 234, "placed at 816, 234");
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  check(width >= 163 && width <= 165 && height >= 318 && height <= 320,
        "outer size " + std::to_string(width) + " x " + std::to_string(height));
  check((GetWindowLongW(paddle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "always on top");
  check((GetWindowLongW(paddle, GWL_STYLE) & WS_THICKFRAME) == 0, "not resizable");
  check(IsWindowVisible(paddle) != FALSE, "shown while connected");
  check(!IsWindowVisible(control(kLabelKing)) && !IsWindowVisible(control(kLabelPec)),
        "King and PEC hidden");
  const std::string ad = textOf(control(kLabelAd));
  const std::string dec = textOf(control(kLabelDec));
  check(ad.size() == 10 && ad[0] == ' ' && ad[3] == 'h' && ad[6] == 'm' && ad.substr(8) == "0s",
        "LabelAD [" + ad + "]");
  check(dec.find("\xC2\xB0") != std::string::npos && dec.back() == '"', "LabelDEC [" + dec + "]");
  const std::string side = textOf(control(kLabelSideOfPier));
  check(side == "W" || side == "E", "LabelSideOfPier [" + side + "]");
  check(textOf(control(kButtonSetPark)) == "Set Park", "ButtonSetPark caption");
  check(textOf(control(kButtonPark)) == "Park", "ButtonPark caption");
  const std::string tracking = textOf(control(kButtonTracking));
  check(tracking == "UnTracking" || tracking == "UnTrack" || tracking == "Untrack" ||
            tracking == "Track",
        "ButtonTracking caption [" + tracking + "]");
  check(textOf(control(kButtonMaj)) == "MAJ", "ButtonMaj caption");
  check(SendMessageW(control(kTrackBarSpeed), TBM_GETPOS, 0, 0) == 1, "slider at 1");
  check(SendMessageW(control(kTrackBarSpeed), TBM_GETRANGEMIN, 0, 0) == 0 &&
            SendMessageW(control(kTrackBarSpeed), TBM_GETRANGEMAX, 0, 0) == 2,
        "slider range 0 to 2");
  check(client.right == 157, "client width " + std::to_string(client.right));
  check(GetWindowLongPtrW(paddle, GWL_STYLE) & WS_SYSMENU, "close box");
  check((GetWindowLongW(paddle, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
        "no minimise or maximise box");

  // Every control at its design place; buttons and slider at their design size too.
  struct Place {
    Control control;
    int left, top, width, height;
  };
  const Place places[] = {
      {kLabelKing, 96, 208, 0, 0},
      {kLabelPec, 96, 240, 0, 0},
      {kLabelAd, 24, 8, 0, 0},
      {kLabelDec, 24, 32, 0, 0},
      {kLabelSideOfPier, 104, 266, 0, 0},
      {kButtonSetPark, 8, 192, 65, 25},
      {kButtonPark, 8, 224, 65, 25},
      {kButtonTracking, 8, 256, 65, 25},
      {kButtonWest, 96, 88, 33, 33},
      {kButtonSouth, 64, 120, 33, 33},
      {kButtonEast, 32, 88, 33, 33},
      {kButtonNorth, 64, 56, 33, 33},
      {kTrackBarSpeed, 48, 160, 73, 25},
      {kButtonMaj, 112, 56, 41, 25},
  };
  for (const Place& place : places) {
    RECT r{};
    GetWindowRect(control(place.control), &r);
    MapWindowPoints(nullptr, paddle, reinterpret_cast<POINT*>(&r), 2);
    const bool sized =
        place.width == 0 || (r.right - r.left == place.width && r.bottom - r.top == place.height);
    check(r.left == place.left && r.top == place.top && sized,
          "control " + std::to_string(place.control) + " at " + std::to_string(r.left) + "," +
              std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
              std::to_string(r.bottom - r.top));
  }

  // Fonts: MS Sans Serif 11 pixels for the buttons, bold 16 pixels for the labels.
  auto fontOf = [&](Control c) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(c), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    char face[LF_FACESIZE] = {};
    WideCharToMultiByte(CP_UTF8, 0, font.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
    return std::string(face) + "/" + std::to_string(font.lfHeight) + "/" +
           std::to_string(font.lfWeight);
  };
  check(fontOf(kButtonPark) == "MS Sans Serif/-11/400", "button font " + fontOf(kButtonPark));
  check(fontOf(kLabelAd) == "MS Sans Serif/-16/700", "label font " + fontOf(kLabelAd));

  // Label colours as the window paints them: red position, lime pier side on the menu colour.
  auto colourOf = [&](Control c, bool* opaque) {
    HDC dc = GetDC(control(c));
    SetBkMode(dc, OPAQUE);
    SendMessageW(paddle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control(c)));
    const COLORREF colour = GetTextColor(dc);
    *opaque = GetBkMode(dc) == OPAQUE;
    ReleaseDC(control(c), dc);
    return colour;
  };
  bool opaque = true;
  check(colourOf(kLabelAd, &opaque) == RGB(255, 0, 0) && !opaque, "LabelAD red, transparent");
  check(colourOf(kLabelKing, &opaque) == RGB(0, 255, 0) && !opaque, "LabelKing lime, transparent");
  check(colourOf(kLabelSideOfPier, &opaque) == RGB(0, 255, 0) && opaque,
        "LabelSideOfPier lime, opaque");

  // Press and release: East at the middle speed asks the collection for item 2.
  std::string before = readFile(logPath);
  pressAndRelease(control(kButtonEast), WM_LBUTTONDOWN, WM_LBUTTONUP);
  std::string after = readFile(logPath).substr(before.size());
  check(count(after, "Get_Item index 2") == 1, "East press fetched item 2");
  check(count(after, "MoveAxis") >= 2, "East press and release called MoveAxis twice");

  // The slider to the right, then West with the right button.
  SendMessageW(control(kTrackBarSpeed), TBM_SETPOS, TRUE, 2);
  SendMessageW(paddle, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(control(kTrackBarSpeed)));
  before = readFile(logPath);
  pressAndRelease(control(kButtonWest), WM_RBUTTONDOWN, WM_RBUTTONUP);
  after = readFile(logPath).substr(before.size());
  check(count(after, "Get_Item index 3") == 1, "West press at the right end fetched item 3");

  // MAJ refreshes the position.
  before = readFile(logPath);
  SendMessageW(control(kButtonMaj), BM_CLICK, 0, 0);
  pump(100);
  after = readFile(logPath).substr(before.size());
  check(count(after, "ASK for RightAscension") >= 1, "MAJ reads RightAscension");

  // Park: the caption follows, the tracking button is disabled, motion is refused.
  SendMessageW(control(kButtonSetPark), BM_CLICK, 0, 0);
  SendMessageW(control(kButtonPark), BM_CLICK, 0, 0);
  // Parked once the mount has arrived, which the update button's refresh finds out; a loaded
  // machine may take seconds to get there.
  for (int refresh = 0; refresh < 150 && textOf(control(kButtonPark)) != "UnPark"; ++refresh) {
    pump(100);
    SendMessageW(control(kButtonMaj), BM_CLICK, 0, 0);
  }
  pump(300);
  check(textOf(control(kButtonPark)) == "UnPark", "parked: caption UnPark");
  check(!IsWindowEnabled(control(kButtonTracking)), "parked: tracking button disabled");
  const std::string messages = messagePath();
  const std::string shownBefore = readFile(messages.c_str());
  pressAndRelease(control(kButtonNorth), WM_LBUTTONDOWN, WM_LBUTTONUP);
  const std::string shown = readFile(messages.c_str()).substr(shownBefore.size());
  check(count(shown, "error: Telescope is parked.") == 2,
        "press and release while parked show the error twice [" + shown + "]");
  SendMessageW(control(kButtonPark), BM_CLICK, 0, 0);
  pump(300);
  check(textOf(control(kButtonPark)) == "Park", "unparked: caption Park");
  check(IsWindowEnabled(control(kButtonTracking)) != FALSE, "unparked: tracking button enabled");

  pump(300);
  RedrawWindow(paddle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  pump(500);
  check(saveScreenshot(paddle, screenshot), std::string("screenshot ") + screenshot);

  // The close box only hides the window.
  PostMessageW(paddle, WM_CLOSE, 0, 0);
  pump(200);
  check(IsWindow(paddle) && !IsWindowVisible(paddle), "close box hides the window");
}

}  // namespace

int main(int argc, char** argv) {
  const char* screenshot = argc > 1 ? argv[1] : "C:\\paddle.bmp";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const DWORD on = 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TRAMOX", L"LogEnabled", REG_DWORD, &on, sizeof on);
  DeleteFileW(L"C:\\TRAMO_DLL.log");
  CLSID clsid{};
  CLSIDFromProgID(L"TRAMOX.Telescope", &clsid);
  ITelescope* telescope = nullptr;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ITelescope,
                   reinterpret_cast<void**>(&telescope));
  check(telescope != nullptr, "TRAMOX.Telescope created");
  if (telescope != nullptr) {
    HRESULT hr = telescope->put_Tracking(VARIANT_TRUE);
    hr = telescope->put_Connected(VARIANT_TRUE);
    check(SUCCEEDED(hr), "connected");
    telescope->put_Tracking(VARIANT_TRUE);
    pump(300);
    HWND paddle = FindWindowW(L"TRaquette", L"Raquette ASCOM");
    check(paddle != nullptr, "the window \"Raquette ASCOM\" exists");
    if (paddle != nullptr) {
      exercise(paddle, screenshot);
    }
    telescope->put_Connected(VARIANT_FALSE);
    pump(100);
    check(paddle == nullptr || !IsWindow(paddle), "disconnecting closes the window");
    telescope->Release();
  }
  const DWORD off = 0;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TRAMOX", L"LogEnabled", REG_DWORD, &off,
                  sizeof off);
  CoUninitialize();
  return tramox::wine_tests::report("TRAMOX-PADDLE-RESULT");
}
