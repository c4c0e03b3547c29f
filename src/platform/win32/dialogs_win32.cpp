// Dialogs and windows of the library on Windows: the input box, the messages
// window with its own event loop, and the console it can print to instead.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/theme_win32.h"
#include "platform/win32/win32_util.h"

namespace zrt::platform {

using win32::narrow;
using win32::wide;

namespace {

// ---- The input box: a dialog built in memory ----

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct InputBoxData {
    std::wstring prompt;
    std::wstring defaultText;
    std::wstring answer;
};

void put(std::vector<WORD>& t, const std::wstring& text) {
    for (wchar_t c : text) t.push_back(static_cast<WORD>(c));
    t.push_back(0);
}

void putDword(std::vector<WORD>& t, DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
}

void alignDword(std::vector<WORD>& t) {
    if (t.size() % 2) t.push_back(0);
}

void putItem(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id,
             WORD classAtom, const std::wstring& text) {
    alignDword(t);
    putDword(t, style | WS_CHILD | WS_VISIBLE);
    putDword(t, 0);
    t.push_back(static_cast<WORD>(x));
    t.push_back(static_cast<WORD>(y));
    t.push_back(static_cast<WORD>(cx));
    t.push_back(static_cast<WORD>(cy));
    t.push_back(id);
    t.push_back(0xFFFF);
    t.push_back(classAtom);
    put(t, text);
    t.push_back(0);
}

std::vector<WORD> inputTemplate(const std::wstring& title) {
    std::vector<WORD> t;
    putDword(t, DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    putDword(t, 0);
    t.push_back(4);  // items
    t.push_back(0);
    t.push_back(0);
    t.push_back(250);
    t.push_back(72);
    t.push_back(0);  // no menu
    t.push_back(0);  // standard class
    put(t, title);
    t.push_back(8);
    put(t, L"MS Shell Dlg");
    putItem(t, SS_LEFT, 7, 7, 236, 20, kPromptId, 0x0082, L"");
    putItem(t, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 30, 236, 14, kEditId, 0x0081, L"");
    putItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 139, 52, 50, 14, IDOK, 0x0080, L"OK");
    putItem(t, BS_PUSHBUTTON | WS_TABSTOP, 193, 52, 50, 14, IDCANCEL, 0x0080, L"Cancel");
    return t;
}

INT_PTR CALLBACK inputProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* data = reinterpret_cast<InputBoxData*>(lParam);
            SetWindowLongPtrW(dlg, DWLP_USER, lParam);
            SetDlgItemTextW(dlg, kPromptId, data->prompt.c_str());
            SetDlgItemTextW(dlg, kEditId, data->defaultText.c_str());
            HWND edit = GetDlgItem(dlg, kEditId);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            SetForegroundWindow(dlg);
            themeWindowOpened(dlg);
            return FALSE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT: {
            LRESULT brush = 0;
            return themeMessage(dlg, message, wParam, lParam, brush)
                       ? static_cast<INT_PTR>(brush)
                       : FALSE;
        }
        case WM_DESTROY:
            themeWindowClosed(dlg);
            return FALSE;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id == IDOK) {
                auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dlg, DWLP_USER));
                HWND edit = GetDlgItem(dlg, kEditId);
                const int n = GetWindowTextLengthW(edit);
                std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
                GetWindowTextW(edit, &text[0], n + 1);
                text.resize(static_cast<std::size_t>(n));
                if (data) data->answer = text;
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// ---- The messages window ----

constexpr const wchar_t* kMessagesClass = L"QuilletMessages";

struct MessagesWindow {
    HWND edit = nullptr;
    HFONT font = nullptr;
    bool closed = false;
};

LRESULT CALLBACK messagesProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<MessagesWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT themed = 0;
    if (themeMessage(hwnd, message, wParam, lParam, themed)) return themed;
    switch (message) {
        case WM_SIZE:
            if (data && data->edit) {
                const int w = LOWORD(lParam), h = HIWORD(lParam);
                MoveWindow(data->edit, 5, 25, w > 10 ? w - 10 : 0, h > 30 ? h - 30 : 0, TRUE);
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_NCDESTROY:
            themeWindowClosed(hwnd);
            if (data) {
                data->closed = true;
                data->edit = nullptr;
            }
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerMessagesClass(HINSTANCE inst) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(inst, kMessagesClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = messagesProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMessagesClass;
    return RegisterClassExW(&wc) != 0;
}

// Every line break as CR LF, which the text box needs.
std::wstring withCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            out += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void showInConsole(const std::wstring& text) {
    const bool own = AllocConsole() != 0;
    HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        const std::wstring shown = withCrLf(text) + L"\r\n\r\nPress Enter to close...";
        DWORD written = 0;
        WriteConsoleW(out, shown.c_str(), static_cast<DWORD>(shown.size()), &written, nullptr);
    }
    if (in != INVALID_HANDLE_VALUE) {
        wchar_t buf[64];
        DWORD read = 0;
        ReadConsoleW(in, buf, 64, &read, nullptr);
    }
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    if (own) FreeConsole();
}

}  // namespace

bool inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText,
              std::string& answer) {
    InputBoxData data{wide(prompt), wide(defaultText), {}};
    const std::vector<WORD> t = inputTemplate(wide(title));
    const INT_PTR r =
        DialogBoxIndirectParamW(win32::thisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                GetActiveWindow(), inputProc, reinterpret_cast<LPARAM>(&data));
    if (r != IDOK) {
        answer.clear();
        return false;
    }
    answer = narrow(data.answer);
    return true;
}

void showMessagesWindow(std::string_view title, std::string_view text, bool console) {
    const std::wstring wtitle = wide(title);
    if (console) {
        showInConsole(wide(text));
        return;
    }
    // One messages window at a time: an open one (a run started while it was
    // shown) is closed; its loop then ends by itself. No quit message is posted:
    // that would end the editor's own loop.
    if (HWND old = FindWindowW(kMessagesClass, wtitle.c_str())) SendMessageW(old, WM_CLOSE, 0, 0);

    const HINSTANCE inst = win32::thisModule();
    if (!registerMessagesClass(inst)) return;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
    RECT r{0, 0, 610, 350};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    MessagesWindow data;
    HWND hwnd = CreateWindowExW(0, kMessagesClass, wtitle.c_str(), style, 0, 195, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, inst, nullptr);
    if (!hwnd) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&data));
    CreateWindowExW(0, L"STATIC", L"Messages Window", WS_CHILD | WS_VISIBLE, 5, 10, 100, 15, hwnd,
                    nullptr, inst, nullptr);
    data.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                    ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                5, 25, 330, 320, hwnd, nullptr, inst, nullptr);
    HDC dc = GetDC(hwnd);
    const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(hwnd, dc);
    data.font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            FIXED_PITCH | FF_MODERN, L"Courier New");
    if (data.edit) {
        if (data.font)
            SendMessageW(data.edit, WM_SETFONT, reinterpret_cast<WPARAM>(data.font), TRUE);
        SendMessageW(data.edit, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextW(data.edit, withCrLf(wide(text)).c_str());
        RECT client{};
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    themeWindowOpened(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);

    // The window's own event loop; every event of the thread (the editor's too)
    // is dispatched, so the editor stays painted while the window is open.
    while (!data.closed) {
        BringWindowToTop(hwnd);
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!data.closed) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    if (data.font) DeleteObject(data.font);
}

}  // namespace zrt::platform
