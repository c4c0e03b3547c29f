// Plot lines of a script run through zrtEvalMain: on Windows real windows
// captured with PrintWindow, natively the headless records. The saved JPEG
// files are decoded here and checked for the curve.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe.h"

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#define rmdir _rmdir
#else
#include <unistd.h>
#endif
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

using probe::expect;
using probe::expectEq;
using probe::out;
using probe::U;
using probe::Z;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    bool red(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return p[0] > 160 && p[1] < 110 && p[2] < 110;
    }
};

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void onJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->back, 1);
}

bool decode(std::FILE* f, Picture& pic) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onJpegError;
    if (setjmp(err.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, f);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    pic.width = static_cast<int>(info.output_width);
    pic.height = static_cast<int>(info.output_height);
    pic.rgb.assign(static_cast<std::size_t>(pic.width) * pic.height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &pic.rgb[static_cast<std::size_t>(info.output_scanline) * pic.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

Picture readJpeg(const std::string& name) {
    Picture pic;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return pic;
    if (!decode(f, pic)) pic = Picture{};
    std::fclose(f);
    return pic;
}

std::string baseName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Where the window's inside starts in its picture: the frame's width and the
// title bar on Windows, nothing for the headless records.
struct Offset {
    int x = 0;
    int y = 0;
};

Offset insideOffset(int plotNumber) {
    Offset o;
#ifdef _WIN32
    const std::wstring title = L"aPlot #" + std::to_wstring(plotNumber);
    if (HWND h = FindWindowW(L"QuilletPlotWindow", title.c_str())) {
        RECT wr;
        GetWindowRect(h, &wr);
        POINT origin{0, 0};
        ClientToScreen(h, &origin);
        o = {origin.x - wr.left, origin.y - wr.top};
    }
#else
    (void)plotNumber;
#endif
    return o;
}

// The image of a plot is the window's inside above the 35-pixel button row:
// 400 x 365. For y = x over [0, 1] every column has red near the diagonal.
std::string diagonalVerdict(const Picture& pic, Offset o) {
    int missing = 0, stray = 0;
    for (int x = 8; x < 392; x += 7) {
        const int expected = 364 - static_cast<int>(x * 364.0 / 399 + 0.5);
        bool onLine = false;
        for (int y = 0; y < 365; ++y) {
            if (!pic.red(o.x + x, o.y + y)) continue;
            if (y - expected <= 2 && expected - y <= 2)
                onLine = true;
            else
                ++stray;
        }
        if (!onLine) ++missing;
    }
    if (missing || stray)
        return "missing " + std::to_string(missing) + ", stray " + std::to_string(stray);
    return "diagonal";
}

// 1/x over [-1, 1]: red on both branches, none in the two columns around x = 0.
std::string gapVerdict(const Picture& pic, Offset o) {
    auto redInColumn = [&](int x) {
        for (int y = 0; y < 365; ++y)
            if (pic.red(o.x + x, o.y + y)) return true;
        return false;
    };
    if (!redInColumn(190) || !redInColumn(210)) return "no curve";
    if (redInColumn(199) || redInColumn(200)) return "joined across 0";
    return "gap at 0";
}

// The file names of the " FileName => " result lines, in order.
std::vector<std::string> savedFiles(const std::string& output) {
    std::vector<std::string> names;
    const std::string mark = " FileName => ";
    for (std::size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1)) {
        const std::size_t start = at + mark.size();
        names.push_back(output.substr(start, output.find('\r', start) - start));
    }
    return names;
}

}  // namespace

PROBE_CASES(plot) {
    auto run = ZRT_FN(zrtEvalMain);
    auto where = ZRT_FN(zrtDiagPlotWindow);

    // Three Plot lines (two saved pictures checked below, the third opens a new
    // row of windows), and a refused one. The pictures go into a folder of
    // their own below the current one ("\" in the parameter line on every
    // platform), removed again at the end.
    const std::string script =
        "Plot = x ; 0 ; x ; 1 ; 100\r\nPlot = 1/x ; -1 ; x ; 1 ; 200\r\n"
        "Plot = x ; 0 ; x ; 1 ; 10\r\nPlot = x ; 0 ; x ; 1 ; 10000000";
    expect(run(Z("/rset").c_str()) != 0, "reset before plotting");
    expect(run(Z(" /noh /spl:zrt_probe_plots\\ /sel:'" + script + "' /").c_str()) == -1, "plot run");
    const std::string output = probe::evalResult();
    const std::vector<std::string> files = savedFiles(output);
    expect(files.size() == 3, "three pictures saved");
    expect(output.find("Ln 4: Plot = x ; 0 ; x ; 1 ; 10000000:") != std::string::npos &&
               output.find("too many steps") != std::string::npos,
           "ten million steps are refused with a clear message");
    expect(where(4, nullptr) == 0, "no window for a refused plot");

    // A desktop 1024 pixels wide (the Xvfb screen of the Wine run, the
    // headless default): the third window starts a new row.
    const char* wantRect[] = {"0,0,400,400", "407,0,400,400", "0,430,400,400"};
    for (int n = 1; n <= 3; ++n) {
        int32_t r[4] = {-1, -1, -1, -1};
        expect(where(n, r) == 1, "window " + std::to_string(n) + " open");
        const std::string rect = std::to_string(r[0]) + "," + std::to_string(r[1]) + "," +
                                 std::to_string(r[2]) + "," + std::to_string(r[3]);
        out("window" + std::to_string(n), rect);
        expectEq("window " + std::to_string(n), rect, wantRect[n - 1]);
#ifdef _WIN32
        // The real window sits where the library says, with the gadgets it says.
        const std::wstring title = L"aPlot #" + std::to_wstring(n);
        HWND h = FindWindowW(L"QuilletPlotWindow", title.c_str());
        expect(h != nullptr, "real window " + std::to_string(n));
        if (h) {
            RECT wr;
            GetWindowRect(h, &wr);
            expect(wr.left == r[0] && wr.top == r[1], "real window position " + std::to_string(n));
            RECT cr;
            GetClientRect(h, &cr);
            expect(cr.right == 400 && cr.bottom == 400, "real window inside " + std::to_string(n));
            wchar_t text[64] = {0};
            GetWindowTextW(GetDlgItem(h, 112 + 10 * n), text, 64);
            expect(std::wstring(text) == L"Redraw", "Redraw button");
            GetWindowTextW(GetDlgItem(h, 117 + 10 * n), text, 64);
            expect(std::wstring(text) == L"1", "to-field shows the last x");
        }
#endif
    }

    const std::string name1 = files.size() > 0 ? files[0] : std::string();
    const std::string name2 = files.size() > 1 ? files[1] : std::string();
    out("file1", baseName(name1));
    out("file2", baseName(name2));
    expectEq("file1", baseName(name1), "aPlotNr_01.jpg");
    expectEq("file2", baseName(name2), "aPlotNr_02.jpg");

    const Picture pic1 = readJpeg(name1);
    const Picture pic2 = readJpeg(name2);
    const Offset o1 = insideOffset(1), o2 = insideOffset(2);
    // The picture is the whole window: its inside plus the frame around it.
    expect(pic1.width == 400 + 2 * o1.x && pic1.height >= 400 + o1.y,
           "picture 1 size " + std::to_string(pic1.width) + "x" + std::to_string(pic1.height));
    out("picture1 inside", pic1.width >= 400 && pic1.height >= 400 ? "400x400" : "too small");
    out("picture1 curve", diagonalVerdict(pic1, o1));
    out("picture2 curve", gapVerdict(pic2, o2));
    expectEq("picture 1", diagonalVerdict(pic1, o1), "diagonal");
    expectEq("picture 2", gapVerdict(pic2, o2), "gap at 0");

#ifdef _WIN32
    // The buttons of the real window: "Redraw" over the range typed into the
    // fields, "Close" destroys the window.
    if (HWND h = FindWindowW(L"QuilletPlotWindow", L"aPlot #3")) {
        SetWindowTextW(GetDlgItem(h, 145), L"-2");
        SetWindowTextW(GetDlgItem(h, 147), L"2,5");
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(142, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(h, 142)));
        wchar_t text[64] = {0};
        GetWindowTextW(GetDlgItem(h, 147), text, 64);
        expect(std::wstring(text) == L"2.5", "Redraw took the typed range");
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(143, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(h, 143)));
        expect(!IsWindow(h), "Close destroys the window");
        expect(where(3, nullptr) == 0, "closed window is gone for the library");
    }
#endif
    for (const std::string& f : files) std::remove(f.c_str());
    expect(rmdir("zrt_probe_plots") == 0, "picture folder removed");

    // The next run closes the windows of this one.
    expect(run(Z("/rset").c_str()) != 0 && run(Z("/sel:'Pause = 0' /").c_str()) == -1, "next run");
    expect(where(1, nullptr) == 0 && where(2, nullptr) == 0, "every window closed");
#ifdef _WIN32
    expect(FindWindowW(L"QuilletPlotWindow", nullptr) == nullptr, "no real window left");
#endif
}
