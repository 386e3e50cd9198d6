// FS98-layout function tables over the stand-in host (32-bit test hosts).
