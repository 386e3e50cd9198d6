// The module as the setup program installed it: RALLY.DLL loaded from the
// simulator folder's Modules\, the course read from its ADV\RALLY\, and a
// voice prompt that loads only because its .wav file is there.
#include <windows.h>

#include <string>

#include "examples/compiled_sample_course.h"
#include "rally/host/host_interface.h"
#include "sim/sim_sound_files.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

namespace {

// The sample course's balloon, as the installed course holds it.
void PlaceNearTheBalloon(SimHost& host, const course_model::BonusObject& balloon, int32_t north) {
  SetSimAircraftLatitude(host.state, FromUpperWord(balloon.lat + north));
  SetSimAircraftLongitude(host.state, FromUpperWord(balloon.lon));
  SetSimAircraftAltitude(host.state, FromUpperWord(balloon.alt));
}

}  // namespace

void CheckInstalledFolder(CheckReport& r, const std::string& folder) {
  const std::string p = "installed folder: ";
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  if (!r.Expect(SetCurrentDirectoryA(folder.c_str()) != 0, p + "the simulator folder " + folder,
                "SetCurrentDirectoryA failed")) {
    return;
  }
  {
    DllRun run(folder + "\\Modules\\RALLY.DLL");
    run.BindHost(true);
    run.host.sound_exists = [folder](const std::string& name) {
      return SimSoundFileExists(folder, name);
    };
    course_model::BonusObject balloon = SampleCourse().bonus_objects.at(0);
    PlaceNearTheBalloon(run.host, balloon, 5000);
    SetSimAircraftSpeed(run.host.state, 100 * 128);
    if (r.Expect(run.Init() == 1, p + "ModuleInit returns 1 with the installed course",
                 DescribeSimCalls(run.host))) {
      run.Ticks(32);
      PlaceNearTheBalloon(run.host, balloon, 450);  // between the outer and the middle box
      run.Ticks(1);
      size_t from = run.host.calls.size();
      PlaceNearTheBalloon(run.host, balloon, 0);  // the award and its prompt
      run.Ticks(1);
      bool loaded = false, played = false;
      for (size_t i = from; i < run.host.calls.size(); ++i) {
        const SimCall& c = run.host.calls[i];
        if (c.op == "load_sound" && c.text == "ADV\\RALLY\\Bonus") loaded = c.args.at(2) == 0;
        if (c.op == "play_sound") played = true;
      }
      r.Expect(loaded && played, p + "the bonus prompt loads from ADV\\RALLY\\Bonus.wav and plays",
               DescribeSimCalls(run.host));
      run.Ticks(run.host.prompt_ticks);  // the prompt plays out, so the DLL can go
      run.Deinit();
    }
    r.Expect(run.Unload(), p + "RALLY.DLL unloaded after FreeLibrary",
             "GetModuleHandleA(\"RALLY.DLL\") still finds it");
  }
  SetCurrentDirectoryA(previous);
}
