#include "rally/host/read_all.h"

uint32_t ReadAll(const PlatformOps& platform, FileHandle file, void* buffer, uint32_t count) {
  uint8_t* bytes = static_cast<uint8_t*>(buffer);
  uint32_t done = 0;
  while (done < count) {
    uint32_t got = platform.read(platform.context, file, bytes + done, count - done);
    if (got == 0 || got > count - done) break;
    done += got;
  }
  return done;
}
