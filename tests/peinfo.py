#!/usr/bin/env python3
"""Reads back what Windows reads of vexsum.exe: the version resource, the
manifest (versions of Windows, long paths, its own version) and the header's
system version. usage: peinfo.py VEXSUM.exe VERSION"""
import re
import sys

import pefile

exe, version = sys.argv[1], sys.argv[2]
parts = (version.split(".") + ["0"] * 4)[:4]
four = ".".join(parts)
pe = pefile.PE(exe)
bad = []

strings = {}
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key in ("FileVersion", "ProductVersion"):
    if strings.get(key) != four:
        bad.append(f"{key} is {strings.get(key)!r}, not {four}")
fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
if not fixed or (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF) != (int(parts[0]), int(parts[1])):
    bad.append("the fixed file version does not match")

manifest = ""
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.id == 24:  # RT_MANIFEST
        data = kind.directory.entries[0].directory.entries[0].data.struct
        manifest = pe.get_data(data.OffsetToData, data.Size).decode()
if not re.search(r"<longPathAware[^>]*>true</longPathAware>", manifest):
    bad.append("the manifest does not ask for long paths")
if len(re.findall(r"<supportedOS ", manifest)) < 4:
    bad.append("the manifest names fewer than four versions of Windows")
if f'version="{four}"' not in manifest:
    bad.append(f"the manifest's identity is not version {four}")

opt = pe.OPTIONAL_HEADER
if (opt.MajorSubsystemVersion, opt.MinorSubsystemVersion) != (6, 1):
    bad.append(f"subsystem version {opt.MajorSubsystemVersion}.{opt.MinorSubsystemVersion}, not 6.1")
if (opt.MajorOperatingSystemVersion, opt.MinorOperatingSystemVersion) != (6, 1):
    bad.append("operating system version is not 6.1")

if bad:
    print("; ".join(bad))
    sys.exit(1)
