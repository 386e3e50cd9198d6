#pragma once

// Layer sceneward/win32: Sceneward.dll's Windows glue, built for the DLL
// only: the exports, the Win32 file system, the registry and message boxes
// of the uninstall hook, the DLL's exit list. The only folder of Sceneward
// that includes <windows.h>; it may use every layer below.

// <windows.h> for Sceneward's Win32 sources. It defines ReplaceFile as a
// macro for ReplaceFileA, which would rename the file system's ReplaceFile
// wherever both are seen; nothing here calls the Win32 function of that name.
#include <windows.h>
#undef ReplaceFile
