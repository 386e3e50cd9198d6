#!/usr/bin/env python3
"""The voice prompts the build spoke: every name the module or a bundled
course uses has its file, a RIFF PCM sound the simulator plays (mono,
11025 or 22050 Hz, 8 or 16 bits) of a plausible length; and flights over
the sample course with aerilon-sim --require-sound-files load every
prompt they ask for.

    check_voice_prompts.py PROMPT_FOLDER AERILON_SIM COURSE_FILE FLIGHT... [--names FILE]

PROMPT_FOLDER holds ADV/RALLY/*.wav: the build's, or the package's
simulator folder; the names the module and the courses use are in
PROMPT_FOLDER/prompt-names.txt unless --names gives that list.
"""
import json
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile

failures = []


def check_file(path):
    data = path.read_bytes()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE" or data[12:16] != b"fmt ":
        return "not a RIFF WAVE file with its fmt chunk first"
    kind, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", data, 20)
    if (kind, channels) != (1, 1) or rate not in (11025, 22050) or bits not in (8, 16):
        return f"PCM {kind}, {channels} channels, {rate} Hz, {bits} bits"
    at = 12 + 8 + struct.unpack_from("<I", data, 16)[0]
    while at + 8 <= len(data) and data[at:at + 4] != b"data":
        at += 8 + struct.unpack_from("<I", data, at + 4)[0]
    if at + 8 > len(data):
        return "no data chunk"
    seconds = struct.unpack_from("<I", data, at + 4)[0] / (rate * bits // 8)
    if not 0.3 <= seconds <= 6.0:
        return f"{seconds:.2f} s long, not 0.3 to 6 s"
    return None


def main():
    args = sys.argv[1:]
    names_file = None
    if "--names" in args:
        at = args.index("--names")
        names_file = pathlib.Path(args[at + 1])
        del args[at:at + 2]
    folder, sim, course, flights = pathlib.Path(args[0]), args[1], args[2], args[3:]
    names_file = names_file or folder / "prompt-names.txt"
    names = names_file.read_text(encoding="utf-8").split()
    if len(names) < 11:
        failures.append(f"only {len(names)} prompt names: the module alone uses 11")
    for name in names:
        path = folder.joinpath(*name.split("\\")).with_suffix(".wav")
        problem = check_file(path) if path.exists() else "missing"
        if problem:
            failures.append(f"{name} ({path}): {problem}")
    loaded = set()
    with tempfile.TemporaryDirectory() as root:
        for flight in flights:
            shutil.rmtree(root)
            shutil.copytree(folder / "ADV", pathlib.Path(root) / "ADV")
            shutil.copy(course, pathlib.Path(root) / "ADV" / "RALLY" / "Rally.DAT")
            run = subprocess.run([sim, "--root", root, "--flight", flight, "--seed", "1998",
                                  "--require-sound-files"], capture_output=True, text=True, check=True)
            asked = 0
            for line in map(json.loads, run.stdout.splitlines()):
                if line.get("call") in ("load_sound", "reload_sound"):
                    asked += 1
                    if not line["loaded"]:
                        failures.append(f"{flight}: tick {line['tick']}: {line['name']} not loaded")
                    loaded.add(line["name"])
            if asked == 0:
                failures.append(f"{flight}: the flight asked for no prompt")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(names)} prompts checked; the flights loaded {len(loaded)}: {', '.join(sorted(loaded))}")
    sys.exit(1 if failures else 0)


main()
