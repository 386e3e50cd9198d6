#pragma once

// The aircraft files of examples/aircraft/, built into the tool so that
// --aircraft can name them from anywhere.
extern const char kLightSingleAircraft[];
extern const char kAerobaticAircraft[];
extern const char kBusinessJetAircraft[];
