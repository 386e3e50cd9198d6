#pragma once

// Layer sceneward/files: the file-system interface the exports work through,
// file patterns, the replace of a file by one written beside it, and the
// POSIX file system of the Linux tool and tests (the Win32 one is in win32/).
// It uses base/ and common/.

#include <cstdint>

#include "common/file_replace.h"
#include "common/path_beside.h"

// The files and folders the exports work on, as an interface so that the
// DLL, the Linux tool and the tests each bring their own: the Win32 calls,
// POSIX calls, or a file system in memory that fails on demand.
typedef void* FileHandle;  // null: none

// kReadFailed: the file opened but could not be read whole: a read failed,
// or the file changed its length while it was read.
enum class ReadOutcome { kRead, kCannotOpen, kNoMemory, kReadFailed };
enum class OpenMode { kReadOnly, kReadWrite };

// A whole file's contents in one heap block of the file system.
struct FileBlock {
  uint8_t* bytes;
  uint32_t size;  // bytes read, without the extra zero bytes
};

// No file system of this program takes a longer path, terminator included:
// a Linux host's PATH_MAX. Windows takes 260 bytes (MAX_PATH).
constexpr uint32_t kLongestPathBytes = 4096;

struct FileSystem {
  virtual void* AllocateBlock(uint32_t size) = 0;  // null when memory runs out
  virtual void FreeBlock(void* block) = 0;         // null is allowed

  // The longest path the file system takes, terminator included (at most
  // kLongestPathBytes). Paths this program composes are refused only when
  // they do not fit in it; anything shorter is left to the system.
  virtual uint32_t MaxPathBytes() = 0;

  // Reads the whole file into a fresh block followed by `extra` zero bytes.
  // kReadWrite insists that the file could also be written, so that a file
  // the caller will rewrite is refused before anything is changed.
  virtual ReadOutcome ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                                    FileBlock* out) = 0;

  // A new file, created or emptied, for writing.
  virtual FileHandle CreateNewFile(const char* path) = 0;
  virtual bool WriteBytes(FileHandle file, const void* data, uint32_t count) = 0;  // all or false
  // False when the data may not have reached the disk; the handle is gone either way.
  virtual bool CloseFile(FileHandle file) = 0;

  // The path of the file that `path` names, into out (size bytes): `path`
  // itself, or, for a symbolic link, the file it leads to, link after link.
  // False for a link that leads to no file (or round in a circle) and for a
  // path that does not fit.
  virtual bool FollowLinks(const char* path, char* out, uint32_t size) = 0;
  // Puts `replacement` in the place of `target`, replacing it. kUnchanged
  // leaves `target` exactly as it was; kTargetMissing leaves both files, the
  // old one under a spare name beside it.
  virtual ReplaceOutcome ReplaceFile(const char* replacement, const char* target) = 0;
  virtual bool RemoveFile(const char* path) = 0;
  virtual bool RenameFile(const char* from, const char* to) = 0;

  // Whether a path may begin with a drive letter ("C:\FS98"), as Windows'
  // paths do. A Linux host has no drives: it would take "C:" for the name
  // of a folder inside the current one.
  virtual bool HasDriveLetters() = 0;
  // Makes `path` the process's current folder.
  virtual bool ChangeFolder(const char* path) = 0;
  // The process's current folder as a full path, into out; false when it
  // cannot be told or does not fit.
  virtual bool CurrentFolder(char* out, uint32_t size) = 0;
  // Calls visit(context, name) for every file of the current folder whose name
  // matches `pattern` ("*.BGL"), until visit returns false. False when the
  // folder cannot be listed.
  virtual bool ListFolder(const char* pattern, bool (*visit)(void* context, const char* name),
                          void* context) = 0;

 protected:
  ~FileSystem() = default;
};

// WriteNewFile writes in pieces of this size: small enough that a failing
// disk is noticed near the write that hit it, large enough that the calls
// cost little against the copying (a library, at most 32767 bytes, is one).
constexpr uint32_t kWritePieceBytes = 65536;

// Writes a new file whole, checking every write and the close; on failure the
// partial file is removed again.
bool WriteNewFile(FileSystem& fs, const char* path, const uint8_t* data, uint32_t size);

// Replaces the file at `path` by one holding exactly `data`: the new content
// is written completely into `beside_name` in the same folder first, and only
// then put in the file's place. A symbolic link stays as it is: the file it
// leads to is replaced, and the new content is written beside that file. On
// failure (also for a link that leads to no file, a path beside that does not
// fit the file system's paths, or no memory left for the paths) the old file
// stays byte for byte as it was and the partial new one is removed.
bool ReplaceFileContents(FileSystem& fs, const char* path, const char* beside_name,
                         const uint8_t* data, uint32_t size);

// `path` into out; false if it does not fit in `size` bytes.
bool CopyPath(const char* path, char* out, uint32_t size);
