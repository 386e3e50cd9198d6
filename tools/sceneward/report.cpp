#include "report.h"

#include <iostream>

#include "sceneward/base/status.h"

void ReportFailure(const Diagnostic& problem, int32_t status) {
  std::cerr << "sceneward: ";
  if (problem.file != nullptr) {
    std::cerr << problem.file;
    if (problem.line > 0) std::cerr << ":" << problem.line;
    std::cerr << ": ";
  }
  std::cerr << (problem.text[0] != '\0' ? problem.text : DescribeStatus(status)) << " (status "
            << status << ")\n";
}

std::string FromLatin1(const char* text) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p);
    } else {
      out += static_cast<char>(0xC0 | (*p >> 6));
      out += static_cast<char>(0x80 | (*p & 0x3F));
    }
  }
  return out;
}

size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text) width += (c & 0xC0) != 0x80;
  return width;
}

std::string PadRight(const std::string& text, size_t width) {
  size_t shown = DisplayWidth(text);
  return shown >= width ? text : text + std::string(width - shown, ' ');
}
