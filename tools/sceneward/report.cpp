#include "tools/sceneward/report.h"

#include <iostream>

#include "common/printable_text.h"
#include "sceneward/base/status.h"

void ReportFailure(const Diagnostic& problem, int32_t status) {
  std::cerr << "sceneward: ";
  if (problem.file != nullptr) {
    std::cerr << ShownPath(problem.file);
    if (problem.line > 0) std::cerr << ":" << problem.line;
    std::cerr << ": ";
  }
  std::cerr << (problem.text[0] != '\0' ? ShownPath(problem.text) : DescribeStatus(status))
            << " (status " << status << ")\n";
}

std::string Shown1252(const char* text) {
  return PrintableText(text, TextEncoding::kWindows1252);
}

std::string ShownPath(const char* text) {
  return PrintableText(text, TextEncoding::kUtf8);
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
