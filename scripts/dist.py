#!/usr/bin/env python3
"""Builds what is handed out into <out> (build/dist/ by `make dist`): the installer, a portable
zip (glimro.exe, the licence and a short read-me), SHA256SUMS, and a winget manifest set
(version, installer and default-locale manifests) for the installer at the given address.
Usage: dist.py <build folder> <out folder> <the installer's address>"""
import hashlib
import pathlib
import re
import shutil
import sys
import zipfile

IDENTIFIER = "Fenwaldstone.Glimro"
MANIFEST_VERSION = "1.6.0"
root = pathlib.Path(__file__).resolve().parents[1]


def version():
    header = (root / "resources" / "resource.h").read_text()
    return re.search(r'#define GLIMRO_VERSION_TEXT "([^"]+)"', header).group(1)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


PORTABLE_README = """Glimro {version}, portable

Glimro changes the Windows desktop picture on a rhythm you choose, from albums of pictures
on your PC, from feeds on the web and from the pictures of the day.

Run glimro.exe from any folder: its Album Manager opens, and closing it leaves Glimro running
in the notification area. Nothing is installed. The portable Glimro keeps its albums and
settings where the installed one does, in the current user's registry under
HKEY_CURRENT_USER\\SOFTWARE\\Fenwaldstone\\Glimro, and writes its log glimrolog.txt and its
staged pictures beside glimro.exe, so put it in a folder you can write to. The installed and
the portable Glimro share one album set; only one of them runs at a time.

glimro.exe -i starts Glimro when you sign in; glimro.exe -d stops it and removes that again.
"""


def main(build, out, address):
    build, out = pathlib.Path(build), pathlib.Path(out)
    ver = version()
    # As the version resource and the Uninstall entry's DisplayVersion say it, for winget to match.
    short = ver
    if out.exists():
        shutil.rmtree(out)
    out.mkdir(parents=True)
    setup = out / f"glimro-setup-{short}.exe"
    shutil.copyfile(build / "glimro-setup.exe", setup)
    portable = out / f"glimro-{short}-portable.zip"
    with zipfile.ZipFile(portable, "w", zipfile.ZIP_DEFLATED) as zip_file:
        zip_file.write(build / "glimro.exe", "glimro.exe")
        zip_file.write(root / "LICENSE.txt", "LICENSE.txt")
        zip_file.writestr("README.txt", PORTABLE_README.format(version=short).replace("\n", "\r\n"))
    (out / "SHA256SUMS").write_text("".join(f"{sha256(p)}  {p.name}\n" for p in (setup, portable)))

    manifests = out / "winget" / "manifests" / "f" / "Fenwaldstone" / "Glimro" / short
    manifests.mkdir(parents=True)
    head = f"PackageIdentifier: {IDENTIFIER}\nPackageVersion: {short}\n"
    tail = lambda kind: f"ManifestType: {kind}\nManifestVersion: {MANIFEST_VERSION}\n"
    (manifests / f"{IDENTIFIER}.yaml").write_text(head + "DefaultLocale: en-US\n" + tail("version"))
    (manifests / f"{IDENTIFIER}.installer.yaml").write_text(
        head
        + "InstallerLocale: en-US\n"
        + "InstallerType: nullsoft\n"
        + "Scope: user\n"
        + "InstallModes:\n- interactive\n- silent\n- silentWithProgress\n"
        + "InstallerSwitches:\n  Silent: /S\n  SilentWithProgress: /S\n"
        + "UpgradeBehavior: install\n"
        # The name of the installer's entry under the current user's Uninstall key.
        + "ProductCode: Glimro\n"
        + "Installers:\n"
        + "- Architecture: x64\n"
        + f"  InstallerUrl: {address}\n"
        + f"  InstallerSha256: {sha256(setup).upper()}\n"
        + tail("installer")
    )
    (manifests / f"{IDENTIFIER}.locale.en-US.yaml").write_text(
        head
        + "PackageLocale: en-US\n"
        + "Publisher: Fenwaldstone\n"
        + "PackageName: Glimro\n"
        + "License: Proprietary (free to use)\n"
        + "Copyright: Copyright (C) Fenwaldstone\n"
        + "ShortDescription: Changes the desktop picture on a rhythm you choose, from albums of your"
        + " pictures, web feeds and pictures of the day.\n"
        + "Moniker: glimro\n"
        + "Tags:\n- wallpaper\n- desktop-background\n- slideshow\n- picture-of-the-day\n- bing\n"
        + tail("defaultLocale")
    )
    print(f"Wrote {out}: {setup.name}, {portable.name}, SHA256SUMS, winget manifests for {short}")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
