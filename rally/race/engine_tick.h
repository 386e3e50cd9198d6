#pragma once

// Layer rally/race: the race engine: the tick, the entry scan, the record
// loop over the course's objects, scoring and the race commands. It uses ui/
// to show and tell, and the layers below it.

struct RallyModule;

// One tick of the race engine, six a second once the start-up delay is over.
void EngineTick(RallyModule& m);
