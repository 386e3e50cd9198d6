#pragma once

// The failing in-memory file system with folders: a current folder that
// ChangeFolder moves to (only into folders the test made), names without a
// drive or leading "\" taken inside it, and listings of its files alone.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/sceneward_fake_file_system.h"

struct FolderFileSystem final : FileSystem {
  FakeFileSystem disk;
  std::set<std::string> folders;
  std::string current;
  std::vector<std::string> entered;  // every folder ChangeFolder moved to, in order

  void PutFile(const std::string& folder, const std::string& name,
               const std::vector<uint8_t>& bytes) {
    folders.insert(folder);
    disk.files[folder + "\\" + name] = bytes;
  }
  const std::vector<uint8_t>* File(const std::string& folder, const std::string& name) const {
    auto file = disk.files.find(folder + "\\" + name);
    return file == disk.files.end() ? nullptr : &file->second;
  }
  // A file's bytes; a missing file reads as this one line of text, which no
  // scenery file equals.
  std::vector<uint8_t> Contents(const std::string& folder, const std::string& name) const {
    const std::vector<uint8_t>* file = File(folder, name);
    const std::string missing = "(no such file)";
    return file != nullptr ? *file : std::vector<uint8_t>(missing.begin(), missing.end());
  }
  // Files whose name ends in ".$$$", anywhere.
  int TemporaryFiles() const {
    int count = 0;
    for (const auto& file : disk.files) {
      const std::string& path = file.first;
      count += path.size() >= 4 && path.compare(path.size() - 4, 4, ".$$$") == 0;
    }
    return count;
  }

  void* AllocateBlock(uint32_t size) override { return disk.AllocateBlock(size); }
  void FreeBlock(void* block) override { disk.FreeBlock(block); }
  uint32_t MaxPathBytes() override { return disk.MaxPathBytes(); }
  ReadOutcome ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                            FileBlock* out) override {
    return disk.ReadWholeFile(Resolve(path).c_str(), mode, extra, out);
  }
  FileHandle CreateNewFile(const char* path) override {
    return disk.CreateNewFile(Resolve(path).c_str());
  }
  bool WriteBytes(FileHandle file, const void* data, uint32_t count) override {
    return disk.WriteBytes(file, data, count);
  }
  bool CloseFile(FileHandle file) override { return disk.CloseFile(file); }
  bool FollowLinks(const char* path, char* out, uint32_t size) override {
    return disk.FollowLinks(path, out, size);
  }
  ReplaceOutcome ReplaceFile(const char* replacement, const char* target) override {
    return disk.ReplaceFile(Resolve(replacement).c_str(), Resolve(target).c_str());
  }
  bool RemoveFile(const char* path) override { return disk.RemoveFile(Resolve(path).c_str()); }
  bool RenameFile(const char* from, const char* to) override {
    return disk.RenameFile(Resolve(from).c_str(), Resolve(to).c_str());
  }
  bool HasDriveLetters() override { return disk.HasDriveLetters(); }
  bool ChangeFolder(const char* path) override {
    std::string folder = Resolve(path);
    if (folders.count(folder) == 0) return false;
    current = folder;
    entered.push_back(folder);
    return true;
  }
  bool CurrentFolder(char* out, uint32_t size) override {
    if (current.empty() || current.size() >= size) return false;
    std::memcpy(out, current.c_str(), current.size() + 1);
    return true;
  }
  bool ListFolder(const char* pattern, bool (*visit)(void*, const char*), void* context) override {
    // Names are taken before any is visited, as a real listing would give them.
    std::vector<std::string> names;
    const std::string prefix = current + "\\";
    for (const auto& file : disk.files) {
      if (file.first.compare(0, prefix.size(), prefix) != 0) continue;
      std::string name = file.first.substr(prefix.size());
      if (name.find('\\') == std::string::npos && MatchFilePattern(pattern, name.c_str())) {
        names.push_back(name);
      }
    }
    for (const std::string& name : names) {
      if (!visit(context, name.c_str())) break;
    }
    return true;
  }

 private:
  std::string Resolve(const char* path) const {
    std::string text(path);
    bool absolute = text.find(':') != std::string::npos || (!text.empty() && text[0] == '\\');
    return absolute || current.empty() ? text : current + "\\" + text;
  }
};
