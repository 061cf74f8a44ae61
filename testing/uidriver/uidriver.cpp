// uidriver: runs a program and works its windows as a person would, for the end-to-end tests.
//
//   uidriver [--timeout MS] [--class NAME] [--screenshot FILE.bmp] [--resize WxH]
//            [--press ACTION]... [--raw TAIL] -- PROGRAM [ARGS...]
//
// It starts PROGRAM (with TAIL as the command line after the quoted program path when --raw is
// given, else ARGS, quoted where they hold spaces), and for each --press waits for the next
// visible top-level window of that process (class "#32770" unless --class says otherwise),
// reports its title, message text and every control with its state, saves a screenshot of the
// first one when asked, and acts on it. ACTION is a button's id (pressed), "close" (the close
// box, or WM_CLOSE for any window; whether the window went is reported), "look" (nothing),
// "click:ID" (a mouse click on control ID), or "select:PATH" (a folder browser: selects
// PATH, then presses its OK). A --class applies to the --press options after it. "wN:ACTION" acts again on the N-th window found, once it takes
// input again (a dialog it opened has closed), instead of waiting for a new one. With --resize
// the first window is reported as it opened, then resized to W x H pixels and reported again
// (prefix "window 1 resized"), and the screenshot shows it resized. Then it waits for the
// program to end and reports its exit code. Every fact is one UTF-8 line on standard output:
//
//   colour.window=16777215
//   window 1 class=#32770 width=300 height=150 x=490 y=437 style=0x94c801c5 exstyle=0x00010101 classstyle=0x00000808 owner=none title=Error
//   window 2 earlier window 1 alive=0
//   window 1 text=The application cannot start ...
//   window 1 control id=2 class=Button text=OK enabled=1 visible=1 checked=0 style=0x50030001
//   (each control line also says whether a static text fits its control: fits=1, 0 or -)
//   window 1 pressed=2
//   exit=-1
//
// Line breaks inside texts are written as \n. Exit code: 0 when every step happened, 2 when a
// window did not appear or the program did not end in time, 1 for a usage error.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/unique_any.h"
#include "base/handle_owners_win.h"

using launcher::UniqueHandle;

namespace {

struct Options {
  DWORD timeoutMs = 60000;
  std::wstring windowClass = L"#32770";
  std::wstring screenshot;
  int resizeWidth = 0;
  int resizeHeight = 0;
  struct Press {
    std::wstring windowClass;
    std::wstring action;
  };
  std::vector<Press> presses;
  std::wstring commandLine;
};

void emit(const std::wstring& line) {
  std::wstring escaped;
  for (wchar_t c : line) {
    if (c == L'\r') continue;
    if (c == L'\n') escaped += L"\\n";
    else escaped += c;
  }
  escaped += L'\n';
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), utf8.data(), bytes,
                        nullptr, nullptr);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// A window's text through WM_GETTEXT: GetWindowTextW does not read the text of another
// process's controls (an edit control's contents, say).
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring className(HWND window) {
  wchar_t name[256] = L"";
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring quoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  return L"\"" + argument + L"\"";
}

struct WindowSearch {
  DWORD processId;
  const std::wstring* windowClass;
  const std::vector<HWND>* handled;
  HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !::IsWindowVisible(window)) return TRUE;
  if (!search->windowClass->empty() && className(window) != *search->windowClass) return TRUE;
  for (HWND seen : *search->handled) {
    if (seen == window) return TRUE;
  }
  search->found = window;
  return FALSE;
}

// Waits for a new window of the process; null when the process ends or time runs out first.
HWND waitForWindow(HANDLE process, DWORD processId, const Options& options, const std::wstring& windowClass,
                   const std::vector<HWND>& handled) {
  DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < options.timeoutMs) {
    WindowSearch search{processId, &windowClass, &handled, nullptr};
    ::EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    // Let a message box finish laying itself out before its texts are read.
    if (search.found) {
      ::Sleep(300);
      return search.found;
    }
    if (::WaitForSingleObject(process, 100) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// The DPI a window is drawn for: its own where the system says it, else the screen's.
UINT windowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  auto getDpiForWindow =
      reinterpret_cast<GetDpiForWindowFn>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
  if (UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0) return dpi;
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// For a static text control: "1" when its text, laid out as the control lays it out in the
// launcher's dialog font (8 pt "MS Shell Dlg 2" at the window's DPI; another process's font
// handle cannot be read), fits the control's client area, else "0"; "-" for every other control.
std::wstring textFit(HWND control, const std::wstring& cls, LONG style) {
  const LONG type = style & SS_TYPEMASK;
  if (_wcsicmp(cls.c_str(), L"Static") != 0 || (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)) {
    return L"-";
  }
  std::wstring text = windowText(control);
  if (text.empty()) return L"1";
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(8, static_cast<int>(windowDpi(control)), 72);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  wcscpy(description.lfFaceName, L"MS Shell Dlg 2");
  HFONT font = ::CreateFontIndirectW(&description);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, font);
  RECT client{};
  ::GetClientRect(control, &client);
  RECT needed{0, 0, client.right, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) |
               (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK);
  ::DrawTextW(dc, text.c_str(), -1, &needed, flags);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(font);
  return needed.bottom <= client.bottom && needed.right <= client.right ? L"1" : L"0";
}

struct ControlReport {
  std::wstring prefix;
};

BOOL CALLBACK reportControl(HWND control, LPARAM param) {
  const auto* report = reinterpret_cast<const ControlReport*>(param);
  std::wstring cls = className(control);
  LONG style = ::GetWindowLongW(control, GWL_STYLE);
  int checked = 0;
  if (_wcsicmp(cls.c_str(), L"Button") == 0) checked = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
  RECT rect{};
  ::GetWindowRect(control, &rect);
  wchar_t line[512];
  _snwprintf(line, 512, L" control id=%d class=%ls enabled=%d visible=%d checked=%d style=0x%08lx x=%ld y=%ld width=%ld height=%ld fits=%ls text=",
             ::GetDlgCtrlID(control), cls.c_str(), ::IsWindowEnabled(control) ? 1 : 0,
             ::IsWindowVisible(control) ? 1 : 0, checked, static_cast<unsigned long>(style), rect.left, rect.top,
             rect.right - rect.left, rect.bottom - rect.top, textFit(control, cls, style).c_str());
  line[511] = L'\0';
  emit(report->prefix + line + windowText(control));
  return TRUE;
}

bool saveScreenshot(HWND window, const std::wstring& path) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
  header.bfSize = header.bfOffBits + imageSize;
  bool ok = false;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ok = ::WriteFile(file, &header, sizeof(header), &written, nullptr) &&
         ::WriteFile(file, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
         ::WriteFile(file, bits, imageSize, &written, nullptr);
    ::CloseHandle(file);
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return ok;
}

void reportWindow(HWND window, const std::wstring& prefix) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  HWND owner = ::GetWindow(window, GW_OWNER);
  wchar_t styles[160];
  _snwprintf(styles, 160, L" x=%ld y=%ld style=0x%08lx exstyle=0x%08lx classstyle=0x%08lx owner=", rect.left,
             rect.top, static_cast<unsigned long>(::GetWindowLongW(window, GWL_STYLE)),
             static_cast<unsigned long>(::GetWindowLongW(window, GWL_EXSTYLE)),
             static_cast<unsigned long>(::GetClassLongW(window, GCL_STYLE)));
  styles[159] = L'\0';
  emit(prefix + L" class=" + className(window) + L" width=" + std::to_wstring(rect.right - rect.left) +
       L" height=" + std::to_wstring(rect.bottom - rect.top) + styles + (owner ? className(owner) : L"none") +
       L" title=" + windowText(window));
  // A message box keeps its text in the static control with id 0xFFFF.
  wchar_t text[8192] = L"";
  if (::GetDlgItemTextW(window, 0xFFFF, text, 8192) > 0) emit(prefix + L" text=" + text);
  ControlReport report{prefix};
  ::EnumChildWindows(window, reportControl, reinterpret_cast<LPARAM>(&report));
}

// Selects `path` in a folder browser of another process: the message's text must lie in that
// process's memory.
void selectFolder(HANDLE process, HWND browser, const std::wstring& path) {
  size_t bytes = (path.size() + 1) * sizeof(wchar_t);
  void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return;
  DWORD_PTR result = 0;
  if (::WriteProcessMemory(process, remote, path.c_str(), bytes, nullptr)) {
    ::SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                          &result);
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::Sleep(500);
}

void press(HANDLE process, HWND window, const std::wstring& what) {
  if (what == L"close") {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return;
  }
  if (what.rfind(L"click:", 0) == 0) {
    HWND control = ::GetDlgItem(window, _wtoi(what.c_str() + 6));
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    return;
  }
  int id = _wtoi(what.c_str());
  if (what.rfind(L"select:", 0) == 0) {
    selectFolder(process, window, what.substr(7));
    id = IDOK;
  }
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

// For "wN:ACTION", the step number N; 0 for an action on a new window.
size_t earlierStep(const std::wstring& what) {
  size_t colon = what.find(L':');
  if (what.size() < 3 || what[0] != L'w' || colon == std::wstring::npos || colon < 2) return 0;
  for (size_t i = 1; i < colon; ++i) {
    if (what[i] < L'0' || what[i] > L'9') return 0;
  }
  return static_cast<size_t>(_wtoi(what.c_str() + 1));
}

// Waits until `window` takes input again; false when it is gone or time runs out.
bool waitUntilEnabled(HWND window, const Options& options) {
  DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < options.timeoutMs) {
    if (!::IsWindow(window)) return false;
    if (::IsWindowEnabled(window)) {
      ::Sleep(300);
      return true;
    }
    ::Sleep(100);
  }
  return false;
}

bool parseOptions(int argc, wchar_t** argv, Options& options) {
  int i = 1;
  std::wstring raw;
  bool haveRaw = false;
  for (; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--") break;
    if (i + 1 >= argc) return false;
    if (arg == L"--timeout") options.timeoutMs = static_cast<DWORD>(_wtoi(argv[++i]));
    else if (arg == L"--class") options.windowClass = argv[++i];
    else if (arg == L"--screenshot") options.screenshot = argv[++i];
    else if (arg == L"--resize") {
      if (swscanf(argv[++i], L"%dx%d", &options.resizeWidth, &options.resizeHeight) != 2) return false;
    }
    else if (arg == L"--press") options.presses.push_back({options.windowClass, argv[++i]});
    else if (arg == L"--raw") { raw = argv[++i]; haveRaw = true; }
    else return false;
  }
  if (i + 1 >= argc) return false;
  options.commandLine = quoteArgument(argv[i + 1]);
  if (haveRaw) {
    options.commandLine += L" " + raw;
  } else {
    for (int k = i + 2; k < argc; ++k) options.commandLine += L" " + quoteArgument(argv[k]);
  }
  return true;
}

}  // namespace

int wmain() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  Options options;
  if (!argv || !parseOptions(argc, argv, options)) {
    emit(L"usage: uidriver [--timeout MS] [--class NAME] [--screenshot FILE] [--resize WxH] [--press ACTION]... [--raw TAIL] -- PROGRAM [ARGS...]");
    return 1;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = options.commandLine;
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    emit(L"start failed error=" + std::to_wstring(::GetLastError()));
    return 2;
  }
  UniqueHandle process(info.hProcess), thread(info.hThread);

  emit(L"colour.window=" + std::to_wstring(::GetSysColor(COLOR_WINDOW) & 0xFFFFFF));
  bool allHappened = true;
  std::vector<HWND> handled;
  for (size_t step = 0; step < options.presses.size(); ++step) {
    std::wstring prefix = L"window " + std::to_wstring(step + 1);
    std::wstring action = options.presses[step].action;
    HWND window = nullptr;
    if (size_t earlier = earlierStep(action)) {
      action = action.substr(action.find(L':') + 1);
      if (earlier <= handled.size() && waitUntilEnabled(handled[earlier - 1], options)) window = handled[earlier - 1];
    } else {
      window = waitForWindow(process.get(), info.dwProcessId, options, options.presses[step].windowClass, handled);
      if (window) handled.push_back(window);
    }
    if (!window) {
      emit(prefix + L" none");
      allHappened = false;
      break;
    }
    reportWindow(window, prefix);
    for (size_t earlier = 0; earlier < handled.size(); ++earlier) {
      if (handled[earlier] == window) continue;
      emit(prefix + L" earlier window " + std::to_wstring(earlier + 1) +
           L" alive=" + (::IsWindow(handled[earlier]) && ::IsWindowVisible(handled[earlier]) ? L"1" : L"0"));
    }
    if (step == 0 && options.resizeWidth > 0) {
      ::SetWindowPos(window, nullptr, 0, 0, options.resizeWidth, options.resizeHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      ::Sleep(300);
      reportWindow(window, prefix + L" resized");
    }
    if (step == 0 && !options.screenshot.empty()) {
      emit(prefix + L" screenshot=" + (saveScreenshot(window, options.screenshot) ? L"saved" : L"failed"));
    }
    if (action != L"look") press(process.get(), window, action);
    emit(prefix + L" pressed=" + action);
    if (action == L"close") {
      DWORD start = ::GetTickCount();
      while (::IsWindow(window) && ::GetTickCount() - start < 5000) ::Sleep(50);
      emit(prefix + L" gone=" + (::IsWindow(window) ? L"0" : L"1"));
    }
  }

  if (::WaitForSingleObject(process.get(), options.timeoutMs) != WAIT_OBJECT_0) {
    emit(L"exit=timeout");
    ::TerminateProcess(process.get(), 1);
    return 2;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  emit(L"exit=" + std::to_wstring(static_cast<int>(code)));
  ::LocalFree(argv);
  return allHappened ? 0 : 2;
}
