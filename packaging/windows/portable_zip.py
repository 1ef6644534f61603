#!/usr/bin/python3
"""Zips a folder as the portable download, the same bytes for the same files on
any machine: entries in name order, every time SOURCE_DATE_EPOCH's in UTC, the
modes fixed, and no owner recorded.

    portable_zip.py FOLDER ZIP   (the zip holds FOLDER's last name as its top)
"""
import os
import sys
import time
import zipfile

folder, target = sys.argv[1:]
top = os.path.basename(os.path.normpath(folder))
# DOS times start in 1980.
stamp = time.gmtime(max(int(os.environ['SOURCE_DATE_EPOCH']), 315532800))[:6]


def entry(name, mode):
    info = zipfile.ZipInfo(name, stamp)
    info.create_system = 3  # Unix, so that the modes below are read
    # Windows reads the low byte: 0x10 marks a folder.
    info.external_attr = mode << 16 | (0x10 if name.endswith('/') else 0)
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


paths = []
for root, folders, files in os.walk(folder):
    relative = os.path.relpath(root, folder)
    prefix = top if relative == '.' else f'{top}/{relative}'
    paths += [(f'{prefix}/{name}/', None) for name in folders]
    paths += [(f'{prefix}/{name}', os.path.join(root, name)) for name in files]
with zipfile.ZipFile(target, 'w') as archive:
    archive.writestr(entry(f'{top}/', 0o40755), b'')
    for name, path in sorted(paths):
        if path is None:
            archive.writestr(entry(name, 0o40755), b'')
        else:
            with open(path, 'rb') as file:
                archive.writestr(entry(name, 0o100644), file.read(), compresslevel=9)
