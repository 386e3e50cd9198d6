#pragma once

#include "sceneward/files/file_system.h"

// The file system of a Linux host. Paths may use "\" as the separator, as the
// Windows paths of scripts and library entries do; it is read as "/". Folder
// listings match their pattern regardless of letter case.
struct PosixFileSystem final : FileSystem {
  void* AllocateBlock(uint32_t size) override;
  void FreeBlock(void* block) override;
  uint32_t MaxPathBytes() override;
  ReadOutcome ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                            FileBlock* out) override;
  FileHandle CreateNewFile(const char* path) override;
  bool WriteBytes(FileHandle file, const void* data, uint32_t count) override;
  bool CloseFile(FileHandle file) override;
  bool FollowLinks(const char* path, char* out, uint32_t size) override;
  ReplaceOutcome ReplaceFile(const char* replacement, const char* target) override;
  bool RemoveFile(const char* path) override;
  bool RenameFile(const char* from, const char* to) override;
  bool HasDriveLetters() override;
  bool ChangeFolder(const char* path) override;
  bool CurrentFolder(char* out, uint32_t size) override;
  bool ListFolder(const char* pattern, bool (*visit)(void* context, const char* name),
                  void* context) override;
};
