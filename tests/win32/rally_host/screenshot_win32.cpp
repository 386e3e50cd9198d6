#include "tests/win32/rally_host/screenshot_win32.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

std::string g_picture_folder;

// The window is painted completely before it is read, children included;
// otherwise a control that has not had its WM_PAINT yet shows as a hole.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
}

std::vector<uint8_t> ReadPixels(HWND window, int width, int height, BITMAPINFOHEADER& info) {
  HDC window_dc = GetWindowDC(window);
  HDC memory_dc = CreateCompatibleDC(window_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
  HGDIOBJ old = SelectObject(memory_dc, bitmap);
  BitBlt(memory_dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
  SelectObject(memory_dc, old);

  info = BITMAPINFOHEADER{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as a BMP file keeps its rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height);
  int rows = GetDIBits(memory_dc, bitmap, 0, height, pixels.data(),
                       reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory_dc);
  ReleaseDC(window, window_dc);
  if (rows != height) pixels.clear();
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  return pixels;
}

}  // namespace

std::string SaveWindowPicture(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return "GetWindowRect failed";
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  PaintNow(window);
  BITMAPINFOHEADER info;
  std::vector<uint8_t> pixels = ReadPixels(window, width, height, info);
  if (pixels.empty()) return "GetDIBits read no pixels";

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return "cannot create " + path;
  bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                 std::fwrite(&info, sizeof info, 1, out) == 1 &&
                 std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  written = std::fclose(out) == 0 && written;
  return written ? std::string() : "cannot write " + path;
}

void SetPictureFolder(const std::string& folder) {
  g_picture_folder = folder;
}

std::string SaveCasePicture(HWND window, const std::string& name) {
  if (g_picture_folder.empty()) return std::string();
  return SaveWindowPicture(window, g_picture_folder + "\\" + name + ".bmp");
}
