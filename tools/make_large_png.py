#!/usr/bin/python3
"""Write a whole, valid PNG of any size that stays small on disk.

An 8-bit grey picture of one shade, compressed row by row: 20000 x 20000
takes about 390 kB on disk and 400 MB decoded. It is the oversized skin a
device can be given to see that the program refuses it before decoding.

    /usr/bin/python3 tools/make_large_png.py WIDTH HEIGHT FILE [SHADE]
"""

import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def main(argv):
    if len(argv) not in (4, 5):
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    width, height, path = int(argv[1]), int(argv[2]), argv[3]
    shade = int(argv[4]) if len(argv) == 5 else 0
    if not (0 < width < 2**31 and 0 < height < 2**31 and 0 <= shade <= 255):
        sys.exit("make_large_png: WIDTH and HEIGHT 1 to 2^31 - 1, SHADE 0 to 255")
    row = b"\0" + bytes([shade]) * width  # filter type 0, then the row
    packer = zlib.compressobj(9)
    idat = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)  # 8-bit grey
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", idat) + chunk(b"IEND", b""))


if __name__ == "__main__":
    main(sys.argv)
