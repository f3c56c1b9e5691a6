#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Every seed is made here from scratch: tiny valid BMP, PNG and WAV files in the
variants the decoders support, a few level files and string-operation inputs.
The fuzzers grow their own corpora from these; only the seeds are kept in the
repository. Run again after changing it: the output is deterministic."""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def bmp(width, height, bits, top_down=False, palette=None):
    row = (width * bits + 31) // 32 * 4
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            if bits == 24:
                line += bytes((x * 40 % 256, y * 60 % 256, 200))
            elif bits == 32:
                line += bytes((x * 40 % 256, y * 60 % 256, 200, 128))
            elif bits == 8:
                line.append((x + y) % 4)
        line += bytes(row - len(line))
        pixels += line
    colours = b"".join(bytes((i * 60, 255 - i * 60, i * 20, 0)) for i in range(palette or 0))
    offset = 14 + 40 + len(colours)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0,
                       len(pixels), 2835, 2835, palette or 0, 0)
    return header + info + colours + bytes(pixels)


def png(width, height, colour_type, bit_depth=8, palette=None, interlace=0):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    raw = bytearray()
    for y in range(height):
        raw.append(y % 5)  # every filter type appears
        for x in range(width):
            for c in range(channels):
                raw.append((x * 50 + y * 30 + c * 70) % (4 if colour_type == 3 else 256))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, interlace)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if palette:
        out += chunk(b"PLTE", bytes(range(palette * 3)))
        out += chunk(b"tRNS", bytes((255, 0)))
    return out + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


def wav(channels, bits, fmt_tag, frames, extra_chunk=False):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", fmt_tag, channels, 22050, 22050 * block, block, bits)
    samples = bytearray()
    for i in range(frames * channels):
        if bits == 8:
            samples.append((i * 37) % 256)
        elif bits == 16:
            samples += struct.pack("<h", (i * 997) % 65536 - 32768)
        else:
            samples += struct.pack("<f", ((i * 13) % 200 - 100) / 100.0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    if extra_chunk:
        body += b"LIST" + struct.pack("<I", 5) + b"INFOx" + b"\0"  # odd size, padded
    body += b"data" + struct.pack("<I", len(samples)) + bytes(samples)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def level_file(levels, newline=b"\r\n", lines=28):
    out = b"2 /Level erreicht" + newline
    for line in range(2, lines + 1):
        values = range(1, levels + 1) if line <= 24 else [1]
        out += b"/".join(str(line * 10 + v).encode() for v in values) + b"/" + newline
    return out


def string_input(first, second, separator, pattern_length, text):
    return struct.pack("<iiBB", first, second, ord(separator), pattern_length) + text


def api_calls(*steps):
    """A call sequence for fuzz_api: each step is its operation byte followed
    by the bytes its arguments take, in the order the target reads them."""
    return b"".join(bytes(step) for step in steps)


def int32(value):
    return list(struct.pack("<i", value))


def main():
    images = {
        "bmp24.bmp": bmp(3, 2, 24),
        "bmp32_topdown.bmp": bmp(2, 2, 32, top_down=True),
        "bmp8_palette.bmp": bmp(5, 3, 8, palette=4),
        "png_rgb.png": png(3, 2, 2),
        "png_rgba.png": png(2, 3, 6),
        "png_gray.png": png(4, 1, 0),
        "png_gray_alpha.png": png(1, 4, 4),
        "png_palette.png": png(3, 3, 3, palette=4),
        "png_interlaced.png": png(9, 9, 2, interlace=1),
        "png_rgb16.png": png(2, 2, 2, bit_depth=16),
    }
    corpora = {
        "fuzz_image": images,
        "fuzz_sprite": images,
        "fuzz_wav": {
            "pcm8_mono.wav": wav(1, 8, 1, 16),
            "pcm16_stereo.wav": wav(2, 16, 1, 8),
            "float32_mono.wav": wav(1, 32, 3, 8),
            "pcm16_list_chunk.wav": wav(1, 16, 1, 8, extra_chunk=True),
        },
        "fuzz_level_file": {
            "three_levels_crlf.ini": level_file(3),
            "one_level_lf.ini": level_file(1, newline=b"\n"),
            "short_cr.ini": level_file(2, newline=b"\r", lines=6),
            "numbers.ini": b"$1F /Level erreicht\r\n%101/-7/ 12abc/x\r\n99999999999/\r\n",
        },
        "fuzz_api": {
            # A sprite made, a pass on it, a grab into that very sprite, more
            # plots, the stop.
            "grab_under_pass.bin": api_calls(
                [0, 0, 1, 20, 20, 4], [7, 100, 100, 0], [31, 110, 110] + int32(255),
                [12, 1, 0, 100, 100, 20, 20], [31, 105, 105] + int32(255), [13, 100, 100]),
            # A pass on the screen, the screen closed and opened again, a plot.
            "screen_closed_under_pass.bin": api_calls(
                [1, 100, 100], [31, 101, 101] + int32(0xFF), [67, 100, 100, 0],
                [31, 102, 102] + int32(0xFF), [13, 100, 100]),
            # A file written and read back at offsets before and far past the buffer.
            "file_offsets.bin": api_calls(
                [4] + int32(0) + [0, 1, 0], [10] + int32(0) + [0, 3, 65, 66, 67],
                [16] + int32(-8) + [0], [16] + int32(100000) + [0],
                [34] + int32(-8) + [1] + int32(100000)),
            # Strings at odd offsets, and a list that grows.
            "strings_and_lists.bin": api_calls(
                [5] + int32(100000) + [0] + int32(-12345), [11] + int32(-8) + [3, 97, 98, 99] + int32(2) + int32(5),
                [2, 10], [62], [62], [14], [26]),
        },
        "fuzz_strings": {
            "field.txt": string_input(2, 0, "/", 1, b"500/800/1200/"),
            "progress.txt": string_input(1, 0, " ", 1, b"3 /Level erreicht"),
            "mid.txt": string_input(11, 2, "/", 2, b"planetmond01.png"),
            "hex.txt": string_input(1, 5, "/", 3, b"$7fFFffFF/%1011/-12"),
        },
    }
    for target, files in corpora.items():
        folder = os.path.join(ROOT, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
