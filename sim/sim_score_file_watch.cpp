#include "sim/sim_score_file_watch.h"

#include "rally/course/course_image.h"

namespace {

SimScoreFileWatch& Watch(void* c) {
  return *static_cast<SimScoreFileWatch*>(c);
}
PlatformOps& Inner(void* c) {
  return Watch(c).inner;
}

void* AllocBlock(void* c, uint32_t size) {
  return Inner(c).alloc_block(Inner(c).context, size);
}
void FreeBlock(void* c, void* block) {
  Inner(c).free_block(Inner(c).context, block);
}
FileHandle OpenRead(void* c, const char* path) {
  return Inner(c).open_read(Inner(c).context, path);
}
int64_t FileLength(void* c, FileHandle f) {
  return Inner(c).file_length(Inner(c).context, f);
}
uint32_t Read(void* c, FileHandle f, void* buffer, uint32_t count) {
  return Inner(c).read(Inner(c).context, f, buffer, count);
}
void Close(void* c, FileHandle f) {
  Inner(c).close(Inner(c).context, f);
}
void RemoveFile(void* c, const char* path) {
  Inner(c).remove_file(Inner(c).context, path);
}
uint32_t CalendarTime(void* c) {
  return Inner(c).calendar_time(Inner(c).context);
}

FileHandle OpenWrite(void* c, const char* path) {
  SimScoreFileWatch& w = Watch(c);
  FileHandle f = w.inner.open_write(w.inner.context, path);
  if (f != nullptr) {
    w.open_paths[f] = path;
    w.bytes_written[f] = 0;
  }
  return f;
}

uint32_t Write(void* c, FileHandle f, const void* data, uint32_t count) {
  SimScoreFileWatch& w = Watch(c);
  uint32_t written = w.inner.write(w.inner.context, f, data, count);
  w.bytes_written[f] += written;
  return written;
}

bool FinishWrite(void* c, FileHandle f) {
  SimScoreFileWatch& w = Watch(c);
  bool complete = w.inner.finish_write(w.inner.context, f);
  auto path = w.open_paths.find(f);
  if (path != w.open_paths.end()) {
    if (complete) w.finished[path->second] = w.bytes_written[f];
    w.open_paths.erase(path);
  }
  w.bytes_written.erase(f);
  return complete;
}

ReplaceOutcome ReplaceFile(void* c, const char* from, const char* to) {
  SimScoreFileWatch& w = Watch(c);
  ReplaceOutcome outcome = w.inner.replace_file(w.inner.context, from, to);
  bool replaced = outcome == ReplaceOutcome::kReplaced;
  auto finished = w.finished.find(from);
  if (replaced && finished != w.finished.end() && std::string(to) == w.course->path) {
    SimCall& call = SimLogCall(*w.host, "score_file_written");
    call.text = to;
    call.args = {finished->second};
  }
  if (finished != w.finished.end()) w.finished.erase(finished);
  return outcome;
}

}  // namespace

void WatchScoreFileWrites(PlatformOps& platform, SimScoreFileWatch& watch, SimHost& host,
                          const CourseImage& course) {
  watch.inner = platform;
  watch.host = &host;
  watch.course = &course;
  platform.context = &watch;
  platform.alloc_block = AllocBlock;
  platform.free_block = FreeBlock;
  platform.open_read = OpenRead;
  platform.file_length = FileLength;
  platform.read = Read;
  platform.close = Close;
  platform.open_write = OpenWrite;
  platform.write = Write;
  platform.finish_write = FinishWrite;
  platform.replace_file = ReplaceFile;
  platform.remove_file = RemoveFile;
  platform.calendar_time = CalendarTime;
}
