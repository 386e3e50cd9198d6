#!/usr/bin/env python3
"""Writes sample_flight.jsonl: the sample flight over the sample course.

The pilot starts on the ground at Ralliest Base (menu "&1. Ralliest Base"),
takes off westwards through the balloon, enters the race, flies the first
leg (start box, gate, lighthouse with its collectible, the quiz, the
approach fix and the precision track on Kestrin's 180 radial), lands at
Kestrin's Municipal and waits for the leg's messages and the score summary.

The flight is a polyline of points in metres north and east of Ralliest
Base, flown at the speeds given there; one state line a second (six
ticks), positions in the simulator's units as the sample course reckons
them (one latitude unit a metre, 120 longitude units a metre).

    examples/make_sample_flight.py > examples/sample_flight.jsonl
"""
import json
import math

RALLIEST = (0x002CB9F3, 0x79457C16)
LON_UNITS_PER_METRE = 120
KNOT = 1852.0 / 3600.0  # metres a second
TICKS_PER_LINE = 6

# north, east (m), altitude (m), speed (knots), on the ground
PATH = [
    (0, 0, 44, 0, True),            # Ralliest Base, runway 27
    (0, -400, 44, 70, True),        # take-off roll
    (0, -500, 60, 80, False),       # airborne
    (0, -1200, 200, 90, False),     # through the balloon
    (0, -1900, 280, 100, False),    # clear of it: enter the race
    (0, -2500, 300, 110, False),    # the first leg's start box, westbound
    (0, -2900, 300, 110, False),
    (300, -3200, 330, 120, False),  # turning north
    (4000, -3200, 400, 120, False),  # the gate, northbound
    (8000, -2000, 450, 120, False),  # the lighthouse
    (8990, 5, 350, 120, False),     # the approach fix, 4 km south of the runway
    (10490, 560, 250, 110, False),  # drifting east of the radial
    (11490, 5, 150, 90, False),     # back on it, a mile out
    (12640, 5, 44, 65, True),       # touchdown at Kestrin's Municipal
    (12840, 5, 44, 0, True),        # stopped on the runway
]

FIRST_MOVING_TICK = 37  # the race engine runs from tick 32
PARKED_SECONDS = 15     # the leg's messages, then the score summary
QUIZ_ANSWER = 3         # the radio slot the pilot picks: right with --seed 1998


def heading_units(north, east):
    degrees = math.degrees(math.atan2(east, north)) % 360.0
    return int(round(degrees * 65536 / 360.0)) % 65536


def samples():
    """(seconds since moving, north, east, alt, knots, ground, heading)"""
    dt = 1.0 / 600.0
    t = 0.0
    next_sample = 0.0
    for (n1, e1, a1, v1, g1), (n2, e2, a2, v2, g2) in zip(PATH, PATH[1:]):
        length = math.hypot(n2 - n1, e2 - e1)
        heading = heading_units(n2 - n1, e2 - e1)
        s = 0.0
        while s < length:
            f = s / length
            # Even acceleration along the segment: v^2 grows evenly with distance.
            knots = math.sqrt(max(v1 * v1 + (v2 * v2 - v1 * v1) * f, 0.0))
            while t >= next_sample:
                yield (next_sample, n1 + (n2 - n1) * f, e1 + (e2 - e1) * f, a1 + (a2 - a1) * f,
                       knots, g1 and g2, heading)
                next_sample += 1.0
            s += max(knots, 2.0) * KNOT * dt  # creeps off and to a stop
            t += dt
    n, e, a, _, g = PATH[-1]
    last_heading = heading_units(PATH[-1][0] - PATH[-2][0], PATH[-1][1] - PATH[-2][1])
    for _ in range(PARKED_SECONDS):
        yield (next_sample, n, e, a, 0, g, last_heading)
        next_sample += 1.0


def line(tick, **fields):
    return json.dumps(dict(tick=tick, **fields), separators=(",", ":"))


def main():
    out = [line(1, command="position:1"), line(1, answer={"quiz": QUIZ_ANSWER, "summary": "ok"})]
    entered = asked = False
    tick = FIRST_MOVING_TICK
    for seconds, north, east, alt, knots, ground, heading in samples():
        tick = FIRST_MOVING_TICK + int(round(seconds)) * TICKS_PER_LINE
        out.append(line(tick, state={
            "lat": RALLIEST[0] + int(round(north)),
            "lon": RALLIEST[1] + int(round(east * LON_UNITS_PER_METRE)),
            "alt": int(round(alt)),
            "speed": int(round(knots * 128)),
            "heading": heading,
            "on_ground": ground,
        }))
        if not entered and east < -1850:
            out.append(line(tick, command="enter"))
            entered = True
        if not asked and north > 4600:
            out.append(line(tick, event=0x100BD))  # Ctrl+H: where is the next fix?
            asked = True
    out.append(line(tick + TICKS_PER_LINE, end=True))
    print("\n".join(out))


if __name__ == "__main__":
    main()
