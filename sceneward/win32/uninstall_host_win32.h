#pragma once

#include "sceneward/win32/win32_api.h"

#include "sceneward/exports/uninstall_hook.h"

// The uninstall hook's registry key, read from HKEY_LOCAL_MACHINE, and its
// error boxes, owned by the uninstaller's window and task-modal so that the
// uninstaller waits for the user.
class Win32UninstallHost final : public UninstallHost {
 public:
  explicit Win32UninstallHost(HWND owner) : owner_(owner) {}

  bool OpenInstallKey() override;
  bool ValueSize(const char* name, uint32_t* size) override;
  bool ReadValue(const char* name, char* into, uint32_t capacity, uint32_t* got) override;
  void CloseInstallKey() override;
  void ShowError(const char* text) override;

 private:
  HWND owner_;
  HKEY key_ = nullptr;
};
