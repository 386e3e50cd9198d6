#pragma once

// <windows.h> for Sceneward's Win32 sources. It defines ReplaceFile as a
// macro for ReplaceFileA, which would rename the file system's ReplaceFile
// wherever both are seen; nothing here calls the Win32 function of that name.
#include <windows.h>
#undef ReplaceFile
