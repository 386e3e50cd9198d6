#pragma once

// The sample flight over the sample course, examples/sample_flight.jsonl,
// built into the tool so that it runs with no files at all.
extern const char kSampleFlight[];
