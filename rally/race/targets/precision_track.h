#pragma once

#include <cstdint>

struct RallyModule;

// The precision track: from a TrackStart until the next TrackStart,
// TrackEnd or LegEnd the pilot holds a radial through a reference point;
// the largest deviation beyond the tolerance costs points when the track
// closes.
void StartTrack(RallyModule& m, const uint8_t* track_start);
void EndTrack(RallyModule& m);  // TrackEnd: closes an active track
// Once a tick while the track is active.
void UpdateTrack(RallyModule& m);
// The deviation UpdateTrack judges now, in heading units; false inside the
// near zone, where nothing is judged (one distance_and_bearing call).
bool MeasureTrackDeviation(RallyModule& m, int32_t* deviation);
// Charges the largest deviation to the leg's precision score and ends the track.
void CloseTrack(RallyModule& m);

// Heading units to degrees, negated: 360/65536 enlarged by 155 units in the
// last place, as the penalty has always been computed.
constexpr double kPenaltyPerHeadingUnit = -0.0054931640625001344;
