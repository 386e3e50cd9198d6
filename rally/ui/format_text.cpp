#include "rally/ui/format_text.h"

#include <cstdarg>
#include <cstdio>

void FormatText(char* buffer, size_t size, const char* format, ...) {
  if (size == 0) return;
  va_list args;
  va_start(args, format);
#if defined(_WIN32)
  // msvcrt's own formatter; it leaves the buffer unterminated when it is cut.
  _vsnprintf(buffer, size, format, args);
#else
  std::vsnprintf(buffer, size, format, args);
#endif
  va_end(args);
  buffer[size - 1] = '\0';
}
