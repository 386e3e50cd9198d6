#include "rally/race/immediate_notice.h"
#include "rally/ui/prompt_queue.h"

#include "rally/state/module.h"

void ShowImmediateNotice(RallyModule& m, const char* text, const char* voice) {
  m.host.show_text(m.host.context, text, kShowTextFive, kNoticeScreenDuration, 0);
  PlayPrompt(m, voice);
}
