#!/usr/bin/env python3
"""Writes the extension's store files: a zip for the Chrome Web Store and an .xpi for Firefox.

usage: store_archives.py EXTENSION_DIR CHROMIUM_ZIP FIREFOX_XPI

Both hold the extension folder's files with the manifest at the root, in name order and with one
fixed time, so that the same sources give the same bytes. The stores assign the extension's ID,
so the manifest's "key" (which pins the ID of an unpacked load) is left out of both. Firefox's ID
of the extension is the manifest's own (browser_specific_settings), which the host manifest allows.
"""
import json
import os
import sys
import zipfile

FIXED_TIME = (1980, 1, 1, 0, 0, 0)


def extension_files(root):
    found = []
    for folder, folders, files in os.walk(root):
        folders.sort()
        for name in files:
            path = os.path.join(folder, name)
            found.append((os.path.relpath(path, root).replace(os.sep, "/"), path))
    return sorted(found)


def write_archive(target, files, manifest):
    temporary = target + ".new"
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, path in files:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            if name == "manifest.json":
                data = (json.dumps(manifest, indent=2, ensure_ascii=False) + "\n").encode("utf-8")
            else:
                with open(path, "rb") as source:
                    data = source.read()
            archive.writestr(info, data)
    os.replace(temporary, target)


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__.strip().splitlines()[2])
    root, chromium_zip, firefox_xpi = argv[1:]
    with open(os.path.join(root, "manifest.json"), encoding="utf-8") as source:
        manifest = json.load(source)
    manifest.pop("key", None)
    files = extension_files(root)
    write_archive(chromium_zip, files, manifest)
    write_archive(firefox_xpi, files, manifest)


if __name__ == "__main__":
    main(sys.argv)
