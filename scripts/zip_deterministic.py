#!/usr/bin/env python3
"""zip_deterministic.py OUT EPOCH FILE... — writes OUT with each FILE under its base
name, in the order given, every entry dated EPOCH (seconds, UTC) with the same
attributes and compression, so that the same files always give the same bytes."""
import os
import sys
import time
import zipfile


def main():
    out, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    date_time = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
    with zipfile.ZipFile(out + ".tmp", "w") as archive:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), date_time)
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20  # the archive bit, as Windows writes it
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main()
