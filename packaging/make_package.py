#!/usr/bin/env python3
"""Makes Aerilon-<version>.zip and Aerilon-<version>-setup.exe from the
native and the Windows builds.

    make_package.py NATIVE_BUILD WIN32_BUILD OUT_FOLDER [--edit-script FILE]

The zip's tree is the simulator's folder: Modules/RALLY.DLL, the course
and the voice prompts in ADV/RALLY/, the setup's data folder Aerilon/
(Sceneward.dll, its edit script Sceneward.DAT and an empty Scenery/), and
LEGGIMI.TXT, the pilot's guide in Windows-1252 with CRLF line ends. The
entries are sorted and dated alike, so the same files give the same zip.
Stops with a message when a file is missing or a size limit is passed,
and before anything is packed when the edit script (packaging/Sceneward.DAT
unless --edit-script names another) is faulty or has an AREA that wraps
around or encloses nothing: the native build's `sceneward show-script
--strict` judges it, and its lines name the file, the line and the problem.
The setup program is made by NSIS (makensis) from packaging/setup.nsi over
the zip's files, unpacked beside it as Aerilon-<version>/.
"""
import argparse
import pathlib
import shutil
import subprocess
import sys
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
DATE = (1998, 6, 1, 0, 0, 0)
LIMITS = {  # bytes
    "Modules/RALLY.DLL": 64 * 1024,
    "Aerilon/Sceneward.dll": 48 * 1024,
    "zip": 2 * 1024 * 1024,
}


def guide(version):
    text = (ROOT / "packaging" / "LEGGIMI.txt").read_text(encoding="utf-8")
    return text.replace("@VERSION@", version).replace("\n", "\r\n").encode("cp1252")


def check_edit_script(native, script):
    """The setup reads the script with the same parser as the native tool."""
    tool = native / "tools" / "sceneward" / "sceneward"
    if not tool.is_file():
        sys.exit(f"make_package: {tool} is missing; build both presets first")
    run = subprocess.run([str(tool), "show-script", "--strict", str(script)],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if run.returncode != 0:
        problems = run.stderr.decode("utf-8", "replace").rstrip()
        sys.exit(f"make_package: the edit script {script} is refused:\n{problems}")


def contents(native, win32, version, script):
    files = {
        "Modules/RALLY.DLL": (win32 / "rally" / "RALLY.DLL").read_bytes(),
        "ADV/RALLY/Rally.DAT": (native / "examples" / "Rally.DAT").read_bytes(),
        "Aerilon/Sceneward.dll": (win32 / "sceneward" / "Sceneward.dll").read_bytes(),
        "Aerilon/Sceneward.DAT": script.read_bytes(),
        "LEGGIMI.TXT": guide(version),
    }
    prompts = sorted((native / "voice" / "sim" / "ADV" / "RALLY").glob("*.wav"))
    if not prompts:
        sys.exit(f"make_package: no voice prompts in {native / 'voice' / 'sim'}")
    for wav in prompts:
        files["ADV/RALLY/" + wav.name] = wav.read_bytes()
    return files


def write_zip(path, files):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        folder = zipfile.ZipInfo("Aerilon/Scenery/", DATE)
        folder.external_attr = 0o40755 << 16 | 0x10
        z.writestr(folder, b"")
        for name in sorted(files):
            info = zipfile.ZipInfo(name, DATE)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, files[name])


def main():
    parser = argparse.ArgumentParser(description="Makes the release zip and setup program.")
    parser.add_argument("native", type=pathlib.Path, help="the native build folder")
    parser.add_argument("win32", type=pathlib.Path, help="the win32 build folder")
    parser.add_argument("out", type=pathlib.Path, help="where the package is made")
    parser.add_argument("--edit-script", type=pathlib.Path,
                        default=ROOT / "packaging" / "Sceneward.DAT",
                        help="the add-on's edit script (default: packaging/Sceneward.DAT)")
    args = parser.parse_args()
    native, win32, out = args.native, args.win32, args.out
    version = (ROOT / "VERSION").read_text(encoding="ascii").strip()
    check_edit_script(native, args.edit_script)
    try:
        files = contents(native, win32, version, args.edit_script)
    except FileNotFoundError as missing:
        sys.exit(f"make_package: {missing.filename} is missing; build both presets first")
    out.mkdir(parents=True, exist_ok=True)
    path = out / f"Aerilon-{version}.zip"
    write_zip(path, files)
    sizes = {name: len(data) for name, data in files.items()}
    sizes["zip"] = path.stat().st_size
    over = []
    for name, limit in sorted(LIMITS.items()):
        mark = "over" if sizes[name] > limit else "within"
        print(f"{name}: {sizes[name]} bytes ({sizes[name] / 1024:.1f} KiB), "
              f"limit {limit // 1024} KiB: {mark}")
        if sizes[name] > limit:
            over.append(name)
    print(f"{path}: {len(files)} files and Aerilon/Scenery/")
    if over:
        sys.exit("make_package: over the size limit: " + ", ".join(over))
    make_setup(path, out, version)


def make_setup(zip_path, out, version):
    unpacked = out / f"Aerilon-{version}"
    shutil.rmtree(unpacked, ignore_errors=True)
    with zipfile.ZipFile(zip_path) as z:
        z.extractall(unpacked)
    setup = out / f"Aerilon-{version}-setup.exe"
    subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8", f"-DVERSION={version}",
                    f"-DPACKAGE={unpacked.resolve()}", f"-DOUTFILE={setup.resolve()}",
                    str(ROOT / "packaging" / "setup.nsi")], check=True)
    print(f"{setup}: {setup.stat().st_size} bytes")


if __name__ == "__main__":
    main()
