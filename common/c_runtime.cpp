#include "common/c_runtime.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
// msvcrt's strtod itself: MinGW's headers rename strtod to its own.
extern "C" double __cdecl SystemStrtod(const char* text, char** end) __asm__("_strtod");
#endif

bool FormatFitsV(char* buffer, size_t size, const char* format, va_list arguments) {
  if (size == 0) return false;
#if defined(_WIN32)
  // -1 when the text is cut; exactly `size` when only the terminator is
  // missing. Either way the text did not fit.
  int length = _vsnprintf(buffer, size, format, arguments);
#else
  int length = std::vsnprintf(buffer, size, format, arguments);
#endif
  buffer[size - 1] = '\0';
  return length >= 0 && static_cast<size_t>(length) < size;
}

bool FormatFits(char* buffer, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  bool fits = FormatFitsV(buffer, size, format, arguments);
  va_end(arguments);
  return fits;
}

double ReadDecimal(const char* text, char** end) {
#if defined(_WIN32)
  return SystemStrtod(text, end);
#else
  return std::strtod(text, end);
#endif
}
