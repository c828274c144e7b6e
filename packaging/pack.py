#!/usr/bin/env python3
"""Writes the release archives from a build tree's list of contents.

    pack.py --contents BUILD/release/contents.txt --version V --out DIST
            [--epoch SECONDS] [--extra FILE...]

contents.txt (cmake/Release.cmake) has one line per file: the path in the
home, the file to take, its mode and the archives it goes in (all, linux,
windows). Written into DIST:

    vexal-V-linux-x64.tar.gz    vexal-V/ with bin/vexal
    vexal-V-windows-x64.zip     vexal-V/ with bin/vexal.exe
    SHA256SUMS                  of those and of every --extra file (copied in)

The bytes depend on the listed files only: entries sorted by name, every
directory listed, owner and group 0 without names, every time the given
epoch (SOURCE_DATE_EPOCH; the zip's times in UTC), the modes from the list,
a gzip header without name or time.
"""
import argparse
import gzip
import hashlib
import io
import os
import shutil
import sys
import tarfile
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01T00:00:00Z


def read_contents(path, archive):
    files = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            fields = line.split("\t")
            if len(fields) != 4:
                raise SystemExit(f"{path}:{number}: expected four tab-separated fields")
            name, source, mode, which = fields
            if which not in ("all", "linux", "windows"):
                raise SystemExit(f"{path}:{number}: unknown archive '{which}'")
            if which not in ("all", archive):
                continue
            if name in files:
                raise SystemExit(f"{path}:{number}: {name} is listed twice")
            if not os.path.isfile(source):
                raise SystemExit(f"{path}:{number}: {source} does not exist (build the release-content target)")
            files[name] = (source, int(mode, 8))
    return files


def directories(names):
    dirs = set()
    for name in names:
        parts = name.split("/")[:-1]
        for i in range(1, len(parts) + 1):
            dirs.add("/".join(parts[:i]))
    return dirs


def entries(files, top):
    """(path, source or None for a directory, mode), sorted by path."""
    items = [(f"{top}/{d}", None, 0o755) for d in directories(files)]
    items.append((top, None, 0o755))
    items += [(f"{top}/{name}", source, mode) for name, (source, mode) in files.items()]
    return sorted(items)


def write_tar_gz(path, files, top, epoch):
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.PAX_FORMAT) as tar:
        for name, source, mode in entries(files, top):
            info = tarfile.TarInfo(name)
            info.mtime = epoch
            info.mode = mode
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            if source is None:
                info.type = tarfile.DIRTYPE
                tar.addfile(info)
            else:
                with open(source, "rb") as f:
                    data = f.read()
                info.size = len(data)
                tar.addfile(info, io.BytesIO(data))
    with open(path, "wb") as out:
        with gzip.GzipFile(filename="", mode="wb", fileobj=out, mtime=0, compresslevel=9) as z:
            z.write(raw.getvalue())


def write_zip(path, files, top, epoch):
    date_time = time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6]
    with zipfile.ZipFile(path, "w") as archive:
        for name, source, mode in entries(files, top):
            if source is None:
                info = zipfile.ZipInfo(name + "/", date_time)
                info.create_system = 3
                info.external_attr = ((0o040000 | mode) << 16) | 0x10
                archive.writestr(info, b"")
                continue
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 3
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--contents", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--epoch", type=int)
    parser.add_argument("--extra", nargs="*", default=[])
    args = parser.parse_args()

    epoch = args.epoch
    if epoch is None:
        text = os.environ.get("SOURCE_DATE_EPOCH", "")
        epoch = int(text) if text.isdigit() else EARLIEST_ZIP_TIME
    top = f"vexal-{args.version}"
    os.makedirs(args.out, exist_ok=True)
    written = []
    linux = os.path.join(args.out, f"{top}-linux-x64.tar.gz")
    write_tar_gz(linux, read_contents(args.contents, "linux"), top, epoch)
    written.append(linux)
    windows = os.path.join(args.out, f"{top}-windows-x64.zip")
    write_zip(windows, read_contents(args.contents, "windows"), top, epoch)
    written.append(windows)
    for extra in args.extra:
        target = os.path.join(args.out, os.path.basename(extra))
        if os.path.abspath(extra) != os.path.abspath(target):
            shutil.copyfile(extra, target)
        written.append(target)
    with open(os.path.join(args.out, "SHA256SUMS"), "w", encoding="utf-8") as sums:
        for path in sorted(written, key=os.path.basename):
            sums.write(f"{sha256(path)}  {os.path.basename(path)}\n")
    for path in sorted(written):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
