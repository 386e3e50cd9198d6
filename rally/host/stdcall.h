#pragma once

// Everything exchanged with the simulator (host operations, callbacks, the
// sound completion routine, the module's init and deinit) uses the 32-bit
// Windows __stdcall convention. On other targets the attribute means nothing.
#if defined(__i386__) || defined(_M_IX86)
#define RALLY_STDCALL __attribute__((stdcall))
#else
#define RALLY_STDCALL
#endif
