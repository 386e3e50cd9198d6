#pragma once

// A file system in memory for the Sceneward tests, which fails any chosen
// step: the Nth write, the close, the replace, an allocation, an open, and
// each step of reading one file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sceneward/files/file_pattern.h"
#include "sceneward/files/file_system.h"
#include "sceneward/files/whole_file_read.h"

struct FakeFileSystem final : FileSystem {
  std::map<std::string, std::vector<uint8_t>> files;
  std::set<std::string> read_only;  // open for reading only

  int fail_write_number = 0;  // 1-based WriteBytes call that fails (after writing half); 0 = none
  bool fail_close = false;
  bool fail_replace = false;
  bool replace_loses_target = false;  // the old file stays under kSpareName
  static constexpr const char* kSpareName = "spare";
  bool fail_create = false;
  int fail_allocation_number = 0;  // 1-based AllocateBlock call that fails; 0 = none
  bool no_memory_for_reads = false;
  uint32_t max_path_bytes = 260;  // the paths Windows takes; a Linux host takes 4096
  bool drive_letters = true;      // as on Windows; a Linux host has none

  // How the reads of `path` go wrong; a fault left at its default does nothing.
  struct ReadFault {
    std::string path;
    bool fail_length = false;  // its length cannot be told
    uint32_t read_limit = 0;   // each read hands over at most this many bytes; 0 = no limit
    int64_t fail_after = -1;   // a read past this many bytes fails; -1 = never
    int64_t resize_to = -1;    // the file is cut or extended to this length once opened
  } read_fault;

  int writes = 0;
  int allocations = 0;
  int live_blocks = 0;
  std::vector<std::string> created;  // paths of CreateNewFile, in order

  struct OpenFile {
    std::string path;
  };
  std::map<int, OpenFile> open_files;
  int next_handle = 1;

  void* AllocateBlock(uint32_t size) override {
    if (++allocations == fail_allocation_number) return nullptr;
    ++live_blocks;
    return std::malloc(size == 0 ? 1 : size);
  }
  void FreeBlock(void* block) override {
    if (block == nullptr) return;
    --live_blocks;
    std::free(block);
  }
  uint32_t MaxPathBytes() override { return max_path_bytes; }

  ReadOutcome ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                            FileBlock* out) override {
    auto file = files.find(path);
    if (file == files.end()) return ReadOutcome::kCannotOpen;
    if (mode == OpenMode::kReadWrite && read_only.count(path) != 0) {
      return ReadOutcome::kCannotOpen;
    }
    if (no_memory_for_reads) return ReadOutcome::kNoMemory;
    Reading reading{this, &file->second, 0, read_fault.path == path};
    FileReadSteps steps{&reading, OpenReading, LengthOfReading, ReadSome, CloseReading};
    return ReadWholeFileBySteps(*this, steps, path, mode, extra, out);
  }

  FileHandle CreateNewFile(const char* path) override {
    created.push_back(path);
    if (fail_create) return nullptr;
    files[path].clear();
    int handle = next_handle++;
    open_files[handle] = OpenFile{path};
    return reinterpret_cast<FileHandle>(static_cast<intptr_t>(handle));
  }
  bool WriteBytes(FileHandle file, const void* data, uint32_t count) override {
    std::vector<uint8_t>& bytes = files[open_files.at(Handle(file)).path];
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    if (++writes == fail_write_number) {
      bytes.insert(bytes.end(), begin, begin + count / 2);  // a full disk takes part of it
      return false;
    }
    bytes.insert(bytes.end(), begin, begin + count);
    return true;
  }
  bool CloseFile(FileHandle file) override {
    open_files.erase(Handle(file));
    return !fail_close;
  }

  bool FollowLinks(const char* path, char* out, uint32_t size) override {
    return CopyPath(path, out, size);
  }
  ReplaceOutcome ReplaceFile(const char* replacement, const char* target) override {
    if (fail_replace || files.count(replacement) == 0) return ReplaceOutcome::kUnchanged;
    if (replace_loses_target) {  // the old file went aside and could not come back
      files[kSpareName] = files[target];
      files.erase(target);
      return ReplaceOutcome::kTargetMissing;
    }
    files[target] = files[replacement];
    files.erase(replacement);
    return ReplaceOutcome::kReplaced;
  }
  bool RemoveFile(const char* path) override { return files.erase(path) != 0; }
  bool RenameFile(const char* from, const char* to) override {
    if (files.count(from) == 0) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool HasDriveLetters() override { return drive_letters; }
  bool ChangeFolder(const char*) override { return false; }
  bool CurrentFolder(char*, uint32_t) override { return false; }
  bool ListFolder(const char* pattern, bool (*visit)(void*, const char*), void* context) override {
    for (const auto& file : files) {
      if (MatchFilePattern(pattern, file.first.c_str()) && !visit(context, file.first.c_str())) {
        break;
      }
    }
    return true;
  }

  void Put(const std::string& path, const std::string& text) {
    files[path] = std::vector<uint8_t>(text.begin(), text.end());
  }

 private:
  static int Handle(FileHandle file) { return static_cast<int>(reinterpret_cast<intptr_t>(file)); }

  struct Reading {
    FakeFileSystem* fs;
    std::vector<uint8_t>* bytes;
    size_t position;
    bool faulted;
    const ReadFault& fault() const { return fs->read_fault; }
  };
  static bool OpenReading(void*, const char*, OpenMode) { return true; }
  static bool LengthOfReading(void* context, uint64_t* length) {
    Reading& r = *static_cast<Reading*>(context);
    if (r.faulted && r.fault().fail_length) return false;
    *length = r.bytes->size();
    if (r.faulted && r.fault().resize_to >= 0) {  // another program changes it now
      r.bytes->resize(static_cast<size_t>(r.fault().resize_to), 0x5A);
    }
    return true;
  }
  static int64_t ReadSome(void* context, uint8_t* bytes, uint32_t count) {
    Reading& r = *static_cast<Reading*>(context);
    if (r.faulted) {
      const ReadFault& f = r.fault();
      if (f.read_limit != 0 && count > f.read_limit) count = f.read_limit;
      if (f.fail_after >= 0 && r.position + count > static_cast<size_t>(f.fail_after)) return -1;
    }
    size_t left = r.position < r.bytes->size() ? r.bytes->size() - r.position : 0;
    uint32_t got = left < count ? static_cast<uint32_t>(left) : count;
    if (got > 0) std::memcpy(bytes, r.bytes->data() + r.position, got);
    r.position += got;
    return got;
  }
  static void CloseReading(void*) {}
};
