#!/usr/bin/env python3
"""`make dist`'s output, made into a temporary folder from the build: each winget manifest has
the fields winget requires, the hashes in SHA256SUMS and the installer manifest are the files',
the zip holds the program as built, and the version is the program's version resource, the
installer's (the one its Uninstall entry writes as DisplayVersion) and every manifest's.
Usage: dist_test.py <build folder>"""
import hashlib
import pathlib
import re
import subprocess
import sys
import tempfile
import zipfile

root = pathlib.Path(__file__).resolve().parents[2]
build = pathlib.Path(sys.argv[1])
address = "https://downloads.example.com/glimro/glimro-setup.exe"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def fields(path):
    """The top-level "Key: value" lines of a manifest, and the text."""
    text = path.read_text()
    return dict(re.findall(r"^([A-Za-z0-9]+): ?(.*)$", text, re.M)), text


def resource_version(exe):
    """The ProductVersion string of a PE file's version resource."""
    data = exe.read_bytes()
    key = "ProductVersion".encode("utf-16-le") + b"\0\0"
    at = data.find(key)
    if at < 0:
        return None
    at += len(key)
    at += (4 - at % 4) % 4  # the value starts on a 32-bit boundary
    end = data.find(b"\0\0", at)
    while end >= 0 and (end - at) % 2:
        end = data.find(b"\0\0", end + 1)
    return data[at:end].decode("utf-16-le")


with tempfile.TemporaryDirectory() as work:
    out = pathlib.Path(work) / "dist"
    subprocess.run([sys.executable, str(root / "scripts" / "dist.py"), str(build), str(out), address], check=True,
                   stdout=subprocess.DEVNULL)
    version = resource_version(build / "glimro.exe")
    check(version and re.fullmatch(r"\d+\.\d+\.\d+\.\d+", version), f"the program's version: {version}")
    setup = out / f"glimro-setup-{version}.exe"
    portable = out / f"glimro-{version}-portable.zip"
    check(setup.exists() and portable.exists(), "the installer and the zip, named by the version")
    check(resource_version(setup) == version, f"the installer's version {resource_version(setup)} is not {version}")
    nsi = (root / "installer" / "glimro.nsi").read_text()
    check('"DisplayVersion" "${VERSION}"' in nsi and 'VIProductVersion "${VERSION}"' in nsi,
          "the Uninstall entry's DisplayVersion is the installer's own version")

    sums = dict(line.split("  ")[::-1] for line in (out / "SHA256SUMS").read_text().splitlines())
    for path in (setup, portable):
        check(sums.get(path.name) == hashlib.sha256(path.read_bytes()).hexdigest(), f"SHA256SUMS for {path.name}")
    with zipfile.ZipFile(portable) as zip_file:
        check(sorted(zip_file.namelist()) == ["LICENSE.txt", "README.txt", "glimro.exe"], "the zip's files")
        check(zip_file.read("glimro.exe") == (build / "glimro.exe").read_bytes(), "the zip's glimro.exe is the build's")
        check(b"HKEY_CURRENT_USER\\SOFTWARE\\Fenwaldstone\\Glimro" in zip_file.read("README.txt"),
              "the portable read-me says where the settings are kept")

    folder = out / "winget" / "manifests" / "f" / "Fenwaldstone" / "Glimro" / version
    common = ["PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"]
    required = {  # each manifest: its type and the fields winget requires of it besides the common ones
        "Fenwaldstone.Glimro.yaml": ("version", ["DefaultLocale"]),
        "Fenwaldstone.Glimro.installer.yaml": ("installer", ["InstallerType", "Scope", "InstallerSwitches",
                                                             "ProductCode", "Installers"]),
        "Fenwaldstone.Glimro.locale.en-US.yaml": ("defaultLocale", ["PackageLocale", "Publisher", "PackageName",
                                                                    "License", "ShortDescription", "Tags"]),
    }
    for name, (kind, keys) in required.items():
        path = folder / name
        if not path.exists():
            failures.append(f"no {name}")
            continue
        values, text = fields(path)
        for key in common + keys:
            check(key in values, f"{name}: {key}")
        check(values.get("PackageIdentifier") == "Fenwaldstone.Glimro", f"{name}: the identifier")
        check(values.get("PackageVersion") == version, f"{name}: the version {values.get('PackageVersion')}")
        check(values.get("ManifestType") == kind, f"{name}: ManifestType")
        check(re.fullmatch(r"1\.\d+\.0", values.get("ManifestVersion", "")), f"{name}: ManifestVersion")
        check(len(values.get("ShortDescription", "x")) <= 256, f"{name}: ShortDescription too long")
    installer, text = fields(folder / "Fenwaldstone.Glimro.installer.yaml")
    check(installer.get("InstallerType") == "nullsoft" and installer.get("Scope") == "user", "nullsoft, user scope")
    check(installer.get("ProductCode") == "Glimro", "the Uninstall entry's name as the ProductCode")
    check("  Silent: /S" in text and "  SilentWithProgress: /S" in text, "the silent switches")
    check(f"  InstallerUrl: {address}" in text, "the installer's address as given")
    check(f"  InstallerSha256: {hashlib.sha256(setup.read_bytes()).hexdigest().upper()}" in text,
          "the installer's SHA-256")
    check('"${UNINSTALL_KEY}" "DisplayName"' in nsi and '\\Uninstall\\Glimro"' in nsi,
          "the installer writes the Uninstall entry the ProductCode names")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
