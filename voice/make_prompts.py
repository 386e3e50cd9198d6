#!/usr/bin/env python3
"""Speaks the voice prompts of prompts.tsv into WAV files the simulator plays.

    make_prompts.py PROMPTS.tsv OUT_FOLDER --module-sources DIR --courses C.toml...

Every prompt name the module's sources use ("ADV\\RALLY\\Start" in a C++
string) and every voice a course source names (its `voice` and
`warning_voice` keys) must have a line in PROMPTS.tsv; a missing one stops
the build, naming it and where it is used. Each prompt is spoken by
espeak-ng's Italian voice at 22050 Hz and written as 11025 Hz, 8-bit mono
PCM (half the rate, a byte a sample: small, and what the simulator plays)
to OUT_FOLDER/<name>.wav, backslashes as folders. espeak-ng gives the same
samples for the same text, so the files are the same at every build.
"""
import argparse
import pathlib
import re
import subprocess
import sys
import tempfile
import tomllib
import wave

RATE = 11025
PEAK = 29490  # 90 per cent of 32767
ESPEAK = ["espeak-ng", "-v", "it", "-s", "160"]


def read_prompts(path):
    prompts = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        name, tab, words = line.partition("\t")
        if not tab or not name or not words.strip():
            sys.exit(f"{path}:{number}: expected a prompt name, a tab and its words")
        if name in prompts:
            sys.exit(f"{path}:{number}: {name} is given twice")
        prompts[name] = words.strip()
    return prompts


def module_names(folder):
    """Prompt names written as C++ strings ("ADV\\\\RALLY\\\\X") in the module."""
    used = {}
    for source in sorted(folder.rglob("*")):
        if source.suffix not in (".cpp", ".h"):
            continue
        for match in re.finditer(r'"(ADV(?:\\\\[A-Za-z0-9_]+)+)"', source.read_text(encoding="utf-8")):
            name = match.group(1).replace("\\\\", "\\")
            if not name.upper().endswith((".DAT", ".SCO")):
                used.setdefault(name, str(source))
    return used


def course_names(course):
    used = {}

    def walk(node):
        if isinstance(node, dict):
            for key, value in node.items():
                if key in ("voice", "warning_voice") and isinstance(value, str) and value:
                    used.setdefault(value, str(course))
                walk(value)
        elif isinstance(node, list):
            for item in node:
                walk(item)

    walk(tomllib.loads(course.read_text(encoding="utf-8")))
    return used


def speak(words, out):
    """espeak-ng at 22050 Hz, 16 bits, written at 11025 Hz, 8 bits."""
    with tempfile.TemporaryDirectory() as scratch:
        spoken = pathlib.Path(scratch) / "spoken.wav"
        subprocess.run(ESPEAK + ["-w", str(spoken), words], check=True)
        with wave.open(str(spoken)) as w:
            if (w.getnchannels(), w.getsampwidth(), w.getframerate()) != (1, 2, 22050):
                sys.exit(f"espeak-ng gave an unexpected format for {out}")
            frames = w.readframes(w.getnframes())
    samples = [int.from_bytes(frames[i:i + 2], "little", signed=True)
               for i in range(0, len(frames) - 1, 2)]
    # Two samples averaged into one: a plain low-pass for the half rate.
    halved = [(samples[i] + samples[i + 1]) // 2 for i in range(0, len(samples) - 1, 2)]
    # Every prompt peaks at the same level, 90 per cent of full scale, so
    # that none is heard louder than another.
    peak = max(1, max(abs(s) for s in halved))
    halved = [s * PEAK // peak for s in halved]
    # 8-bit PCM is unsigned, 128 the silence.
    data = bytes(max(0, min(255, 128 + (s + 128) // 256)) for s in halved)
    out.parent.mkdir(parents=True, exist_ok=True)
    with wave.open(str(out), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("prompts", type=pathlib.Path)
    parser.add_argument("out", type=pathlib.Path)
    parser.add_argument("--module-sources", type=pathlib.Path, required=True)
    parser.add_argument("--courses", type=pathlib.Path, nargs="*", default=[])
    args = parser.parse_args()

    prompts = read_prompts(args.prompts)
    used = module_names(args.module_sources)
    for course in args.courses:
        for name, where in course_names(course).items():
            used.setdefault(name, where)
    missing = sorted(name for name in used if name not in prompts)
    for name in missing:
        print(f"{args.prompts}: no words for the prompt {name}, used in {used[name]}",
              file=sys.stderr)
    if missing:
        sys.exit(1)
    for name, words in sorted(prompts.items()):
        speak(words, args.out.joinpath(*name.split("\\")).with_suffix(".wav"))
    # The list of names the module and the courses use, for the tests.
    (args.out / "prompt-names.txt").write_text("".join(n + "\n" for n in sorted(used)),
                                               encoding="utf-8")


if __name__ == "__main__":
    main()
