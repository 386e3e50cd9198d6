// One on-screen message with its voice prompt, as the real DLL gives it to
// the simulator's tables: a bonus object is flown into, the award is shown
// with show_text, and its prompt is loaded, given the pilot's level, played
// with the DLL's completion routine and released when it has finished.
#include "course_model/course_writer.h"
#include "rally/host/host_interface.h"
#include "tests/win32/rally_host/balloon_course_win32.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/case_folder_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

namespace {

constexpr char kAwardText[] = "BONUS! Hai guadagnato 50 PUNTI!";
constexpr char kAwardVoice[] = "ADV\\RALLY\\Bonus";

// The calls from `from` on, without the distance measurements in between.
std::vector<const SimCall*> CallsOfInterest(const SimHost& host, size_t from) {
  std::vector<const SimCall*> found;
  for (size_t i = from; i < host.calls.size(); ++i) {
    if (host.calls[i].op != "distance_and_bearing") found.push_back(&host.calls[i]);
  }
  return found;
}

bool Is(const SimCall* c, const char* op) {
  return c != nullptr && c->op == op;
}

const SimCall* At(const std::vector<const SimCall*>& calls, size_t i) {
  return i < calls.size() ? calls[i] : nullptr;
}

void CheckTheAwardsCalls(CheckReport& r, const std::string& p, DllRun& run, size_t from) {
  std::vector<const SimCall*> c = CallsOfInterest(run.host, from);
  const std::string all = DescribeSimCalls(run.host, from);
  r.Expect(Is(At(c, 0), "show_text") && c[0]->text == kAwardText && c[0]->args[0] == 5 &&
               c[0]->args[2] == 0,
           p + "the award is shown first with show_text(text, 5, duration, 0)", all);
  r.Expect(Is(At(c, 1), "load_sound") && c[1]->text == kAwardVoice && c[1]->args[0] == 2,
           p + "then its prompt is loaded: load_sound(\"ADV\\RALLY\\Bonus\", 2)", all);
  uint32_t handle = Is(At(c, 1), "load_sound") ? static_cast<uint32_t>(c[1]->args[1]) : 0;
  r.Expect(Is(At(c, 2), "query_sound_level") && c[2]->args[0] == 4 &&
               Is(At(c, 3), "set_sound_level") && c[3]->args[0] == handle &&
               c[3]->args[1] == run.host.sound_level,
           p + "query_sound_level(4), then set_sound_level(handle, that level)", all);
  r.Expect(Is(At(c, 4), "play_sound") && c[4]->args[0] == handle && run.Contains(c[4]->routine),
           p + "play_sound(handle) with a completion routine inside RALLY.DLL", all);
  r.Expect(c.size() == 5, p + "nothing else is asked of the host in that tick", all);
}

void CheckTheRelease(CheckReport& r, const std::string& p, DllRun& run, size_t from,
                     uint32_t handle) {
  std::vector<const SimCall*> c = CallsOfInterest(run.host, from);
  r.Expect(c.size() == 1 && Is(c[0], "release_sound") && c[0]->args[0] == handle,
           p + "when the prompt has played, the completion routine releases its handle",
           DescribeSimCalls(run.host, from));
}

}  // namespace

void CheckMessageWithPrompt(CheckReport& r, const std::string& dll_path) {
  const std::string p = "message and prompt: ";
  CaseFolder folder("message-and-prompt");
  folder.Write(kCoursePath, EncodeCourseFile(BalloonCourse()));
  DllRun run(dll_path);
  run.BindHost(true);
  PlaceAircraft(run.host, 5000);  // far from the balloon
  SetSimAircraftSpeed(run.host.state, 100 * 128);
  if (!r.Expect(run.Init() == 1, p + "ModuleInit returns 1", DescribeSimCalls(run.host))) return;
  run.Ticks(32);  // the start-up delay, and the engine's first tick

  PlaceAircraft(run.host, 450);  // inside the outer box, outside the middle one
  run.Ticks(1);
  PlaceAircraft(run.host, 0);  // at the centre: the award
  size_t from = run.host.calls.size();
  run.Ticks(1);
  CheckTheAwardsCalls(r, p, run, from);

  const SimCall* load = nullptr;
  for (size_t i = from; i < run.host.calls.size(); ++i) {
    if (run.host.calls[i].op == "load_sound") load = &run.host.calls[i];
  }
  size_t before_release = run.host.calls.size();
  run.Ticks(run.host.prompt_ticks);
  CheckTheRelease(r, p, run, before_release, load ? static_cast<uint32_t>(load->args[1]) : 0);

  run.Deinit();
  r.Expect(run.Unload(), p + "RALLY.DLL unloaded after FreeLibrary",
           "GetModuleHandleA(\"RALLY.DLL\") still finds it");
}
