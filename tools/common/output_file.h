#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A file a tool makes (a course file, a map picture), written so that
// nothing the user has is lost:
// - an output that is the same file as one of `inputs` is refused, by
//   device and inode, whatever names lead to them (a hard link, another
//   spelling of the path, a symbolic link);
// - an output that exists and is not a regular file (a folder, a named
//   pipe, a device) is refused, and so is one without any write permission
//   or one this user may not write: the permission bits are looked at
//   too, since root may write anything;
// - a symbolic link is written through, link after link: the file it leads
//   to is replaced and the link stays; a link that leads to no file is
//   refused;
// - missing folders above the output are made;
// - the new file is written completely beside its target, synced, and only
//   then renamed over it, so a failed write leaves the old file as it was;
//   it keeps the old file's permissions.
// Each answers what is wrong, ready to follow "FILE: error: ", or nothing.

// Before a tool does its work, so that a refused output costs nothing.
std::optional<std::string> CheckOutputFile(const std::string& path,
                                           const std::vector<std::string>& inputs);

// Checks again and writes `bytes` as the file `path`. Empty inputs are
// passed over (an option not given).
std::optional<std::string> WriteOutputFile(const std::string& path,
                                           const std::vector<uint8_t>& bytes,
                                           const std::vector<std::string>& inputs = {});
