#pragma once

#include <cstdint>

#include "sceneward/exports/sceneward_state.h"
#include "sceneward/files/file_system.h"

// Where setup left the installed paths: a key under HKEY_LOCAL_MACHINE with
// the scenery library's folder and the add-on's data folder.
constexpr char kInstallKeyPath[] = "SOFTWARE\\Vesk\\Aerilon by Vesk\\1.00";
constexpr char kLibraryFolderValue[] = "VIS_Path";
constexpr char kDataFolderValue[] = "Data_Path";

// The texts the uninstall hook shows, each in a box captioned "Error". The
// uninstaller's users know them, so they stay word for word.
constexpr char kErrorCaption[] = "Error";
constexpr char kNoInstallKeyText[] = "Could not find the appropriate key in the Registry!";
constexpr char kOutOfMemoryText[] = "Out of memory";
constexpr char kEntryNotRemovedText[] = "Could not remove the scenery item from World.VIS";

// The registry key and the error boxes as the hook sees them: the DLL
// brings the Win32 registry and message boxes, the tests a fake.
struct UninstallHost {
  virtual bool OpenInstallKey() = 0;
  // The stored size of a value in bytes, its terminator included if it has one.
  virtual bool ValueSize(const char* name, uint32_t* size) = 0;
  // Reads at most `capacity` bytes of the value into `into`; *got is the count read.
  virtual bool ReadValue(const char* name, char* into, uint32_t capacity, uint32_t* got) = 0;
  virtual void CloseInstallKey() = 0;  // only after a successful open
  virtual void ShowError(const char* text) = 0;

 protected:
  ~UninstallHost() = default;
};

// The uninstaller's first hook: finds the library and the edit script from
// the registry and removes the add-on's entry from the library with VisEdit.
// Every failure shows one error box and ends the hook; the uninstallation
// goes on regardless, so the result is always 0. Every block is freed.
int32_t RunUninstallHook(ScenewardState& state, FileSystem& fs, UninstallHost& host);
