#!/usr/bin/env python3
"""Rewrites a zip file (a jar) so that its bytes depend on its contents only.

The jar tool of JDK 17 stores each entry's modification time, so two builds
of the same sources give different jars. Rewritten here: the same entries in
the same order, each with one fixed time (SOURCE_DATE_EPOCH when set, else
1980-01-01, the earliest a zip can hold), fixed permissions and no extra
fields, compressed again with deflate. The file is replaced only when its
bytes change, so a build that has nothing to do leaves it alone.

    normalize_zip.py FILE...
"""
import io
import os
import sys
import time
import zipfile

EARLIEST = 315532800  # 1980-01-01T00:00:00Z


def fixed_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    seconds = int(epoch) if epoch.isdigit() else EARLIEST
    return time.gmtime(max(seconds, EARLIEST))[:6]


def normalized(data, date_time):
    out = io.BytesIO()
    with zipfile.ZipFile(io.BytesIO(data)) as source, zipfile.ZipFile(out, "w") as target:
        for entry in source.infolist():
            info = zipfile.ZipInfo(entry.filename, date_time)
            info.create_system = 3  # Unix: the permissions below are read
            if entry.is_dir():
                info.external_attr = (0o40755 << 16) | 0x10
                info.compress_type = zipfile.ZIP_STORED
                target.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                target.writestr(info, source.read(entry), compresslevel=9)
    return out.getvalue()


def main(paths):
    date_time = fixed_time()
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        result = normalized(data, date_time)
        if result == data:
            continue
        temporary = path + ".normalizing"
        with open(temporary, "wb") as f:
            f.write(result)
        os.replace(temporary, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
