#include "sceneward/win32/uninstall_host_win32.h"

bool Win32UninstallHost::OpenInstallKey() {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKeyPath, 0, KEY_READ, &key_) == ERROR_SUCCESS;
}

// The value's type is not looked at: setup stores both as plain text.
bool Win32UninstallHost::ValueSize(const char* name, uint32_t* size) {
  DWORD bytes = 0;
  if (RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
    return false;
  }
  *size = bytes;
  return true;
}

bool Win32UninstallHost::ReadValue(const char* name, char* into, uint32_t capacity, uint32_t* got) {
  DWORD bytes = capacity;
  // A value that grew since its size was asked for fails here (ERROR_MORE_DATA).
  if (RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(into), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  *got = bytes;
  return true;
}

void Win32UninstallHost::CloseInstallKey() {
  RegCloseKey(key_);
  key_ = nullptr;
}

void Win32UninstallHost::ShowError(const char* text) {
  MessageBoxA(owner_, text, kErrorCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
