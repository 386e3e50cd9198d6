#!/usr/bin/env python3
"""Makes Aerilon-<version>.zip and Aerilon-<version>-setup.exe from the
native and the Windows builds.

    make_package.py NATIVE_BUILD WIN32_BUILD OUT_FOLDER

The zip's tree is the simulator's folder: Modules/RALLY.DLL, the course
and the voice prompts in ADV/RALLY/, the setup's data folder Aerilon/
(Sceneward.dll, its edit script Sceneward.DAT and an empty Scenery/), and
LEGGIMI.TXT, the pilot's guide in Windows-1252 with CRLF line ends. The
entries are sorted and dated alike, so the same files give the same zip.
Stops with a message when a file is missing or a size limit is passed.
The setup program is made by NSIS (makensis) from packaging/setup.nsi over
the zip's files, unpacked beside it as Aerilon-<version>/.
"""
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


def contents(native, win32, version):
    files = {
        "Modules/RALLY.DLL": (win32 / "rally" / "RALLY.DLL").read_bytes(),
        "ADV/RALLY/Rally.DAT": (native / "examples" / "Rally.DAT").read_bytes(),
        "Aerilon/Sceneward.dll": (win32 / "sceneward" / "Sceneward.dll").read_bytes(),
        "Aerilon/Sceneward.DAT": (ROOT / "packaging" / "Sceneward.DAT").read_bytes(),
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
    native, win32, out = (pathlib.Path(a) for a in sys.argv[1:4])
    version = (ROOT / "VERSION").read_text(encoding="ascii").strip()
    try:
        files = contents(native, win32, version)
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
