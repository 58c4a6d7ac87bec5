// Starts Tidymoth.exe (beside this program) in a start-up directory, waits
// for its main window and writes pictures of it, caption included, as BMP
// files taken from the screen (under Wine, the virtual desktop):
//   tidymoth_screenshot START_DIR OUT_DIR
// writes OUT_DIR\main-window.bmp, OUT_DIR\about-box.bmp and, after a search
// over the current pattern (read only: the results window is closed without
// deleting anything), OUT_DIR\results-window.bmp; then quits the program
// through its quit question.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/driver.h"
#include "tests/support/texts.h"

namespace {

bool g_failed = false;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bits;  // 24-bit rows, bottom-up, padded to 4 bytes
    bool operator==(const Picture& o) const { return width == o.width && height == o.height && bits == o.bits; }
};

Picture Capture(HWND window)
{
    Picture picture;
    RECT r;
    if (!::GetWindowRect(window, &r))
        return picture;
    picture.width = r.right - r.left;
    picture.height = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
        ::GdiFlush();
        const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~static_cast<size_t>(3);
        const unsigned char* p = static_cast<const unsigned char*>(bits);
        picture.bits.assign(p, p + stride * static_cast<size_t>(picture.height));
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

bool NothingToPaint(HWND window)
{
    if (::GetUpdateRect(window, nullptr, FALSE))
        return false;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetUpdateRect(child, nullptr, FALSE))
            return false;
    }
    return true;
}

// Brings the window to the front. Wine's virtual desktop on a display without
// a window manager never gets the keyboard focus, so Wine draws every caption
// inactive; the window is told that it is active, which it is.
void ActivateForPicture(HWND window)
{
    ::SetForegroundWindow(window);
    ::SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
}

// The window once it is painted and two captures in a row agree.
bool CaptureSettled(const e2e::Tidymoth& app, HWND window, Picture& picture)
{
    if (!app.Sync())
        return false;
    ActivateForPicture(window);
    if (!e2e::WaitUntil([&] { return NothingToPaint(window); }))
        return false;
    Picture previous = Capture(window);
    return e2e::WaitUntil([&] {
        picture = Capture(window);
        bool same = !picture.bits.empty() && picture == previous;
        previous = picture;
        return same;
    });
}

bool WriteBmp(const std::string& path, const Picture& picture)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = picture.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(picture.bits.size());
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&header, sizeof header, 1, f) == 1 &&
              std::fwrite(picture.bits.data(), 1, picture.bits.size(), f) == picture.bits.size();
    return std::fclose(f) == 0 && ok;
}

bool Shoot(const e2e::Tidymoth& app, HWND window, const std::string& path)
{
    Picture picture;
    if (!CaptureSettled(app, window, picture)) {
        e2e::ReportFailure("the window did not settle for " + path);
        return false;
    }
    if (!WriteBmp(path, picture)) {
        e2e::ReportFailure("cannot write " + path);
        return false;
    }
    std::printf("%s (%dx%d)\n", path.c_str(), picture.width, picture.height);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tidymoth_screenshot START_DIR OUT_DIR\n");
        return 2;
    }
    e2e::SetFailureReporter([](const std::string& what) {
        g_failed = true;
        std::fprintf(stderr, "screenshot: %s\n", what.c_str());
    });
    const std::string out = argv[2];
    e2e::Tidymoth app(argv[1]);
    if (!app.Start())
        return 1;
    e2e::Window main = app.Main();
    Shoot(app, main.Handle(), out + "\\main-window.bmp");

    if (main.PostSysCommand(IDM_ABOUTBOX)) {
        e2e::Window about = app.WaitForWindow(texts::kAboutCaption);
        if (about.Exists()) {
            Shoot(app, about.Handle(), out + "\\about-box.bmp");
            app.Press(about, IDOK);
        }
    }

    if (main.Click(IDC_START_SEARCH)) {
        e2e::Window results = app.WaitForWindow(texts::kResultsCaption);
        // The search is over once the action button is enabled again.
        if (results.Exists() &&
            e2e::WaitUntil([&] { return results.IsEnabled(IDC_ACTION) && results.Text(IDC_ACTION) != texts::kStopAction; },
                           60000)) {
            Shoot(app, results.Handle(), out + "\\results-window.bmp");
            results.PostClose();
            e2e::WaitUntil([&] { return !results.Exists(); });
        }
    }

    if (main.PostClose() && app.Answer(texts::kConfirm, texts::kQuitQuestion, IDYES))
        app.WaitForExit();
    return g_failed ? 1 : 0;
}
