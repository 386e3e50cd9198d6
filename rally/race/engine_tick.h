#pragma once

struct RallyModule;

// One tick of the race engine, six a second once the start-up delay is over.
void EngineTick(RallyModule& m);
