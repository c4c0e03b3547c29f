// Plot windows with the Windows API: a window class of the library, the image
// gadget as a child that shows the plot's DIB section, buttons and edit
// fields; window capture with PrintWindow; the clipboard picture; the message
// pump that keeps the windows alive during a run; files by UTF-8 names.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "base/text16.h"
#include "base/barrier.h"
#include "platform/platform.h"
#include "platform/win32/canvas_gdi.h"
#include "platform/win32/theme_win32.h"

namespace zrt::platform {

namespace {

constexpr wchar_t kPlotClass[] = L"QuilletPlotWindow";
constexpr wchar_t kImageClass[] = L"QuilletPlotImage";

// PrintWindow is looked up by name when the library is loaded: systems older
// than Windows XP lack it, and the capture then copies the window's screen
// pixels instead.
using PrintWindowFn = BOOL(WINAPI*)(HWND, HDC, UINT);
const PrintWindowFn gPrintWindow = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC proc = user32 ? GetProcAddress(user32, "PrintWindow") : nullptr;
    return reinterpret_cast<PrintWindowFn>(reinterpret_cast<void*>(proc));
}();

std::wstring wide(std::string_view utf8) {
    const std::u16string u = toUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string narrow(const wchar_t* text, std::size_t n) {
    return fromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), n));
}

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

struct PlotWindow {
    HWND hwnd = nullptr;
    HWND image = nullptr;
    PlotWindowLayout layout;          // the layout the window was opened with
    std::map<int, HWND> gadgets;  // by id
    std::unique_ptr<win32::GdiCanvas> canvas;
    int clientWidth = 0;  // last inside size that was not minimized
    int clientHeight = 0;
    bool ready = false;  // creation finished: events may reach the owner
};

struct WindowsState {
    std::map<int, PlotWindow> windows;
    bool classesRegistered = false;
};

WindowsState& windowsState() {
    static WindowsState s;
    return s;
}

PlotWindow* findWindow(int number) {
    auto& w = windowsState().windows;
    auto it = w.find(number);
    return it == w.end() ? nullptr : &it->second;
}

int numberOf(HWND hwnd) {
    return static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Events run the plot's code (and, through a redraw, the evaluator): nothing
// they throw may leave the window procedure.
template <class F>
void safely(F&& f) noexcept {
    barrierVoid("Plot window", f);
}

// Gadgets below the picture keep their distance to the bottom edge; the
// picture takes the rest of the window.
void layoutGadgets(PlotWindow& w) {
    const int dy = w.clientHeight - w.layout.height;
    for (const Gadget& g : w.layout.gadgets) {
        auto it = w.gadgets.find(g.id);
        if (it == w.gadgets.end()) continue;
        if (g.kind == GadgetKind::Image) {
            MoveWindow(it->second, g.x, g.y, std::max(1, w.clientWidth), std::max(1, g.height + dy),
                       TRUE);
        } else {
            MoveWindow(it->second, g.x, g.y + dy, g.width, g.height, TRUE);
        }
    }
}

// The face of the window: the host's dark background when it is dark.
void fillFace(HWND hwnd, HDC dc, const RECT& r) {
    COLORREF dark = 0;
    if (!darkFace(hwnd, dark)) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    HBRUSH brush = CreateSolidBrush(dark);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// A child prints into a picture of its own, which is then copied into place:
// Wine's controls clip their drawing to their client rectangle taken as
// device coordinates, so they draw nothing into a DC whose origin was moved.
void printChild(HWND child, HDC dc, const RECT& at) {
    const int width = at.right - at.left;
    const int height = at.bottom - at.top;
    if (width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide) return;
    win32::DibSurface dib;
    if (!dib.create(width, height)) return;
    RECT all{0, 0, width, height};
    fillFace(child, dib.dc, all);
    SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dib.dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    BitBlt(dc, at.left, at.top, width, height, dib.dc, 0, 0, SRCCOPY);
    dib.destroy();
}

// The window's own client area: the background behind its gadgets. This is
// all WM_PRINTCLIENT paints: a themed control (Notepad++ carries the Common
// Controls 6 manifest) paints its parent's background by sending the parent
// WM_PRINTCLIENT, so a parent that printed its children there would loop.
void paintOwnClient(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    fillFace(hwnd, dc, client);
}

// Set while a capture walks a window's children: whatever they send back to
// the window meanwhile paints its own area only and starts no second walk.
bool gPrintingChildren = false;

// What PrintWindow asks for: the frame from the system, then the inside with
// every child, which Wine's default handling of WM_PRINT leaves out. The one
// walk over the children of a capture.
void printClient(HWND hwnd, HDC dc) {
    paintOwnClient(hwnd, dc);
    if (gPrintingChildren) return;
    gPrintingChildren = true;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&r), 2);
        printChild(child, dc, r);
    }
    gPrintingChildren = false;
}

LRESULT print(HWND hwnd, HDC dc, LPARAM flags) {
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return 0;
    POINT offset{0, 0};
    if (flags & PRF_NONCLIENT) {
        DefWindowProcW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
        RECT wr;
        GetWindowRect(hwnd, &wr);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        offset = {origin.x - wr.left, origin.y - wr.top};
    }
    if (flags & PRF_CLIENT) {
        POINT old;
        OffsetViewportOrgEx(dc, offset.x, offset.y, &old);
        printClient(hwnd, dc);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    return 0;
}

LRESULT CALLBACK plotWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    const int n = numberOf(hwnd);
    PlotWindow* w = findWindow(n);
    if (w && w->hwnd != hwnd) w = nullptr;
    LRESULT themed = 0;
    if (themeMessage(hwnd, msg, wp, lp, themed)) return themed;
    switch (msg) {
        case WM_COMMAND:
            if (w && w->ready && HIWORD(wp) == BN_CLICKED) {
                const int id = LOWORD(wp);
                if (id == w->layout.closeId) {
                    DestroyWindow(hwnd);
                } else if (id == w->layout.redrawId && w->layout.events.redraw) {
                    const auto redraw = w->layout.events.redraw;
                    safely(redraw);
                }
                return 0;
            }
            break;
        case WM_SIZE:
            if (w && wp != SIZE_MINIMIZED) {
                w->clientWidth = LOWORD(lp);
                w->clientHeight = HIWORD(lp);
                layoutGadgets(*w);
                if (w->ready && w->layout.events.resized) {
                    const auto resized = w->layout.events.resized;
                    safely(resized);
                }
            }
            return 0;
        case WM_PRINT:
            return print(hwnd, reinterpret_cast<HDC>(wp), lp);
        case WM_PRINTCLIENT:
            paintOwnClient(hwnd, reinterpret_cast<HDC>(wp));
            return 0;
        case WM_NCDESTROY:
            themeWindowClosed(hwnd);
            if (w) windowsState().windows.erase(n);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void paintImage(HWND hwnd, HDC dc) {
    RECT r;
    GetClientRect(hwnd, &r);
    PlotWindow* w = findWindow(numberOf(hwnd));
    if (w && w->image == hwnd && w->canvas) {
        BitBlt(dc, 0, 0, w->canvas->width(), w->canvas->height(), w->canvas->dc(), 0, 0, SRCCOPY);
        // Whatever the picture does not cover (a window grown since the last
        // drawing) is plain white.
        ExcludeClipRect(dc, 0, 0, w->canvas->width(), w->canvas->height());
    }
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LRESULT CALLBACK imageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            paintImage(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            const int saved = SaveDC(reinterpret_cast<HDC>(wp));
            paintImage(hwnd, reinterpret_cast<HDC>(wp));
            RestoreDC(reinterpret_cast<HDC>(wp), saved);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool registerClasses() {
    auto& s = windowsState();
    if (s.classesRegistered) return true;
    const HINSTANCE module = thisModule();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = plotWindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kPlotClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    WNDCLASSEXW ic{};
    ic.cbSize = sizeof ic;
    ic.lpfnWndProc = imageProc;
    ic.hInstance = module;
    ic.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    ic.lpszClassName = kImageClass;
    if (!RegisterClassExW(&ic) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    s.classesRegistered = true;
    return true;
}

// After the last window is gone the classes go too: a library that is
// unloaded must not leave a class that points into its code.
void unregisterClasses() {
    auto& s = windowsState();
    if (!s.classesRegistered || !s.windows.empty()) return;
    const HINSTANCE module = thisModule();
    UnregisterClassW(kImageClass, module);
    UnregisterClassW(kPlotClass, module);
    s.classesRegistered = false;
}

HWND createGadget(HWND parent, const Gadget& g, int number) {
    const HINSTANCE module = thisModule();
    const std::wstring text = wide(g.text);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(g.id));
    HWND h = nullptr;
    switch (g.kind) {
        case GadgetKind::Image:
            h = CreateWindowExW(0, kImageClass, L"", WS_CHILD | WS_VISIBLE, g.x, g.y, g.width,
                                g.height, parent, id, module,
                                reinterpret_cast<LPVOID>(static_cast<INT_PTR>(number)));
            break;
        case GadgetKind::Button:
            h = CreateWindowExW(0, L"BUTTON", text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, g.x, g.y,
                                g.width, g.height, parent, id, module, nullptr);
            break;
        case GadgetKind::Label:
            h = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, g.x,
                                g.y, g.width, g.height, parent, id, module, nullptr);
            break;
        case GadgetKind::Field:
            h = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, g.x, g.y,
                                g.width, g.height, parent, id, module, nullptr);
            break;
    }
    if (h && g.kind != GadgetKind::Image)
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    return h;
}

HWND gadgetWindow(int number, int gadgetId) {
    PlotWindow* w = findWindow(number);
    if (!w) return nullptr;
    auto it = w->gadgets.find(gadgetId);
    return it == w->gadgets.end() ? nullptr : it->second;
}

}  // namespace

int desktopWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

bool openPlotWindow(const PlotWindowLayout& layout) {
    if (layout.width < 1 || layout.height < 1 || layout.width > kMaxCanvasSide ||
        layout.height > kMaxCanvasSide)
        return false;
    closePlotWindow(layout.number);
    if (!registerClasses()) return false;
    const DWORD style = WS_OVERLAPPEDWINDOW;  // title, system menu, min/max boxes, sizing border
    RECT outer{0, 0, layout.width, layout.height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);

    auto& s = windowsState();
    PlotWindow& w = s.windows[layout.number];
    w.layout = layout;
    w.clientWidth = layout.width;
    w.clientHeight = layout.height;
    const std::wstring title = wide(layout.title);
    HWND hwnd =
        CreateWindowExW(0, kPlotClass, title.c_str(), style, layout.x, layout.y,
                        outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                        thisModule(), reinterpret_cast<LPVOID>(static_cast<INT_PTR>(layout.number)));
    PlotWindow* rec = findWindow(layout.number);
    if (!hwnd || !rec) {
        if (hwnd) DestroyWindow(hwnd);
        s.windows.erase(layout.number);
        unregisterClasses();
        return false;
    }
    rec->hwnd = hwnd;
    for (const Gadget& g : layout.gadgets) {
        HWND h = createGadget(hwnd, g, layout.number);
        if (!h) continue;
        rec->gadgets[g.id] = h;
        if (g.kind == GadgetKind::Image) rec->image = h;
    }
    // Dark or light as the host is, before the window shows.
    themeWindowOpened(hwnd);
    // Position the frame so that its top left corner is the requested point.
    SetWindowPos(hwnd, nullptr, layout.x, layout.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    rec = findWindow(layout.number);
    if (!rec || rec->hwnd != hwnd) return false;
    rec->ready = true;
    return true;
}

bool plotWindowExists(int number) {
    PlotWindow* w = findWindow(number);
    return w && w->hwnd && IsWindow(w->hwnd);
}

bool plotWindowRect(int number, WindowRect& rect) {
    PlotWindow* w = findWindow(number);
    if (!w || !w->hwnd || !IsWindow(w->hwnd)) return false;
    RECT r;
    if (IsIconic(w->hwnd)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(w->hwnd, &wp);
        r = wp.rcNormalPosition;
    } else {
        GetWindowRect(w->hwnd, &r);
    }
    rect = {r.left, r.top, w->clientWidth, w->clientHeight};
    return true;
}

Canvas* plotImageCanvas(int number, int width, int height) {
    PlotWindow* w = findWindow(number);
    if (!w || !w->hwnd || width < 1 || height < 1 || width > kMaxCanvasSide ||
        height > kMaxCanvasSide)
        return nullptr;
    if (!w->canvas || w->canvas->width() != width || w->canvas->height() != height) {
        auto canvas = std::make_unique<win32::GdiCanvas>(width, height);
        if (!canvas->valid()) return nullptr;
        w->canvas = std::move(canvas);
    }
    return w->canvas.get();
}

void showPlotImage(int number) {
    PlotWindow* w = findWindow(number);
    if (w && w->image) {
        InvalidateRect(w->image, nullptr, FALSE);
        UpdateWindow(w->image);
    }
}

void setGadgetText(int number, int gadgetId, std::string_view text) {
    if (HWND h = gadgetWindow(number, gadgetId)) SetWindowTextW(h, wide(text).c_str());
}

std::string gadgetText(int number, int gadgetId) {
    HWND h = gadgetWindow(number, gadgetId);
    if (!h) return {};
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, &buf[0], n + 1);
    return narrow(buf.c_str(), static_cast<std::size_t>(std::max(0, got)));
}

void closePlotWindow(int number) {
    PlotWindow* w = findWindow(number);
    if (!w) return;
    HWND h = w->hwnd;
    if (h && IsWindow(h)) DestroyWindow(h);  // WM_NCDESTROY drops the record
    windowsState().windows.erase(number);
}

void closeAllPlotWindows() {
    std::vector<int> numbers;
    for (const auto& [n, w] : windowsState().windows) numbers.push_back(n);
    for (int n : numbers) closePlotWindow(n);
    unregisterClasses();
}

bool captureWindow(int number, Image& picture) {
    PlotWindow* w = findWindow(number);
    if (!w || !w->hwnd || !IsWindow(w->hwnd)) return false;
    RECT r;
    GetWindowRect(w->hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide) return false;
    win32::DibSurface dib;
    if (!dib.create(width, height)) return false;
    RECT all{0, 0, width, height};
    FillRect(dib.dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    bool ok = gPrintWindow && gPrintWindow(w->hwnd, dib.dc, 0);
    if (!ok) {
        HDC windowDc = GetWindowDC(w->hwnd);
        ok = windowDc && BitBlt(dib.dc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        if (windowDc) ReleaseDC(w->hwnd, windowDc);
    }
    if (ok) picture = win32::readDib(dib.bits, width, height);
    dib.destroy();
    return ok && !picture.empty();
}

namespace {

// Another program may hold the clipboard for a moment.
bool openClipboard() {
    for (int i = 0; i < 10; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

bool setClipboardPicture(const Image& picture) {
    if (picture.empty()) return false;
    // A 24-bit bottom-up DIB: the form every program that pastes pictures reads.
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
    const std::size_t bytes =
        sizeof(BITMAPINFOHEADER) + stride * static_cast<std::size_t>(picture.height);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!mem) return false;
    auto* base = static_cast<unsigned char*>(GlobalLock(mem));
    if (!base) {
        GlobalFree(mem);
        return false;
    }
    auto* head = reinterpret_cast<BITMAPINFOHEADER*>(base);
    head->biSize = sizeof(BITMAPINFOHEADER);
    head->biWidth = picture.width;
    head->biHeight = picture.height;
    head->biPlanes = 1;
    head->biBitCount = 24;
    head->biCompression = BI_RGB;
    head->biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(picture.height));
    unsigned char* rows = base + sizeof(BITMAPINFOHEADER);
    for (int y = 0; y < picture.height; ++y) {
        unsigned char* row = rows + stride * static_cast<std::size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.at(x, y);
            row[3 * x] = static_cast<unsigned char>(p);
            row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(p >> 16);
        }
    }
    GlobalUnlock(mem);
    if (!openClipboard()) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_DIB, mem) != nullptr;
    if (!ok) GlobalFree(mem);
    CloseClipboard();
    return ok;
}

bool clipboardPicture(Image& picture) {
    if (!openClipboard()) return false;
    bool ok = false;
    if (HANDLE h = GetClipboardData(CF_DIB)) {
        const std::size_t size = GlobalSize(h);
        const auto* base = static_cast<const unsigned char*>(GlobalLock(h));
        if (base && size >= sizeof(BITMAPINFOHEADER)) {
            BITMAPINFOHEADER head;
            std::memcpy(&head, base, sizeof head);
            const int bpp = head.biBitCount;
            const long long width = head.biWidth;
            const long long height =
                head.biHeight < 0 ? -static_cast<long long>(head.biHeight) : head.biHeight;
            std::size_t offset = head.biSize;
            if (head.biCompression == BI_BITFIELDS && head.biSize == sizeof(BITMAPINFOHEADER))
                offset += 12;  // the three colour masks follow the header
            const bool plain =
                head.biCompression == BI_RGB || (head.biCompression == BI_BITFIELDS && bpp == 32);
            if (plain && (bpp == 24 || bpp == 32) && width > 0 && height > 0 &&
                width <= kMaxCanvasSide && height <= kMaxCanvasSide) {
                const std::size_t pixelBytes = static_cast<std::size_t>(bpp / 8);
                const std::size_t stride =
                    (static_cast<std::size_t>(width) * pixelBytes + 3) & ~std::size_t{3};
                if (offset + stride * static_cast<std::size_t>(height) <= size) {
                    picture.width = static_cast<int>(width);
                    picture.height = static_cast<int>(height);
                    picture.pixels.assign(static_cast<std::size_t>(width * height), 0);
                    const std::size_t columns = static_cast<std::size_t>(width);
                    const std::size_t lines = static_cast<std::size_t>(height);
                    for (std::size_t y = 0; y < lines; ++y) {
                        const std::size_t src = head.biHeight < 0 ? y : lines - 1 - y;
                        const unsigned char* row = base + offset + stride * src;
                        for (std::size_t x = 0; x < columns; ++x) {
                            const unsigned char* p = row + x * pixelBytes;
                            picture.pixels[y * columns + x] =
                                (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
                        }
                    }
                    ok = true;
                }
            }
        }
        if (base) GlobalUnlock(h);
    }
    CloseClipboard();
    return ok;
}

void pumpWindowMessages() {
    MSG msg;
    // Bounded: a window that keeps posting must not hold the run forever.
    for (int budget = 10000; budget > 0 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); --budget) {
        if (msg.message == WM_QUIT) {
            // The host's own loop must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string programPath() {
    std::wstring buf(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    return narrow(buf.c_str(), n);
}

std::FILE* openFile(std::string_view utf8Path, const char* mode) {
    if (utf8Path.empty() || !mode) return nullptr;
    const std::wstring m(mode, mode + std::strlen(mode));
    return _wfopen(wide(utf8Path).c_str(), m.c_str());
}






}  // namespace zrt::platform
