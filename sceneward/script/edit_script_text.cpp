#include "sceneward/script/edit_script_text.h"

uint32_t ToTextMode(char* text, uint32_t length) {
  uint32_t kept = 0;
  for (uint32_t i = 0; i < length; ++i) {
    if (text[i] == '\x1A') break;
    if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') continue;
    text[kept++] = text[i];
  }
  return kept;
}
