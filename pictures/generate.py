#!/usr/bin/python3
"""Build the finished pictures bild1.gif ... bild6.gif from their SVG sources.

Each source in src/ is rendered by rsvg-convert at the picture's exact pixel size,
reduced to one 256-entry palette without dithering and written as a plain GIF89a:
global colour table only, one full-size image at (0, 0), no extension blocks.
The output depends only on the sources, so a rebuild gives the same bytes.

    /usr/bin/python3 pictures/generate.py          rewrite the GIFs next to this script
    /usr/bin/python3 pictures/generate.py --check  rebuild in a temporary directory and
                                                   compare with the stored GIFs
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "src")

# Picture size in pixels of each window's finished picture.
SIZES = {1: (317, 360), 2: (376, 354), 3: (454, 454),
         4: (451, 400), 5: (454, 454), 6: (454, 454)}

MIN_CODE_SIZE = 8
MAX_CODE = 4096


def lzw_encode(indices, min_code_size=MIN_CODE_SIZE):
    """Variable-width GIF LZW: clear code first and whenever the table is full,
    end-of-information code last, codes packed least significant bit first."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0
    width = min_code_size + 1
    next_code = eoi + 1
    table = {}

    def emit(code, w):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += w
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    emit(clear, width)
    if not indices:
        emit(eoi, width)
    else:
        prefix = indices[0]
        for pixel in indices[1:]:
            key = (prefix << 8) | pixel
            code = table.get(key)
            if code is not None:
                prefix = code
                continue
            emit(prefix, width)
            table[key] = next_code
            next_code += 1
            if next_code == MAX_CODE:
                # Table full: start over so the decoder never needs a 13th bit.
                emit(clear, width)
                table.clear()
                next_code = eoi + 1
                width = min_code_size + 1
            elif next_code > (1 << width):
                # The code just added no longer fits; the decoder, one entry behind,
                # widens at the same point.
                width += 1
            prefix = pixel
        emit(prefix, width)
        emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(width, height, palette, indices):
    """A GIF89a with a 256-entry global table and one uninterlaced full-size image."""
    if len(palette) != 256 * 3:
        raise ValueError("palette must hold exactly 256 RGB entries")
    if len(indices) != width * height:
        raise ValueError("pixel count does not match the picture size")
    # Packed field: global table present, colour resolution 8 bits, not sorted,
    # table size 2^(7+1) = 256.
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0) + bytes(palette)
    descriptor = b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data = lzw_encode(indices)
    blocks = bytearray([MIN_CODE_SIZE])
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return head + descriptor + bytes(blocks) + b";"


def render(number, workdir):
    """Render src/bildN.svg at its pixel size and return it as an RGB image."""
    from PIL import Image

    width, height = SIZES[number]
    svg = os.path.join(SRC, "bild%d.svg" % number)
    png = os.path.join(workdir, "bild%d.png" % number)
    subprocess.run(["rsvg-convert", "--format", "png", "--width", str(width),
                    "--height", str(height), "--output", png, svg], check=True)
    with Image.open(png) as rendered:
        rendered.load()
        if rendered.size != (width, height):
            raise RuntimeError("%s rendered at %dx%d instead of %dx%d"
                               % (svg, rendered.size[0], rendered.size[1], width, height))
        rgba = rendered.convert("RGBA")
    flat = Image.new("RGBA", rgba.size, (255, 255, 255, 255))
    flat.alpha_composite(rgba)
    return flat.convert("RGB")


def to_palette(image):
    """Reduce to at most 256 colours, most used colour first, padded with black."""
    from PIL import Image

    quantized = image.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                               dither=Image.Dither.NONE)
    counts = quantized.histogram()
    raw = quantized.getpalette()
    used = sorted((i for i in range(len(raw) // 3) if counts[i]), key=lambda i: (-counts[i], i))
    remap = bytearray(256)
    palette = bytearray(256 * 3)
    for new, old in enumerate(used):
        remap[old] = new
        palette[3 * new:3 * new + 3] = bytes(raw[3 * old:3 * old + 3])
    return bytes(palette), quantized.tobytes().translate(bytes(remap))


def build(out_dir):
    with tempfile.TemporaryDirectory(prefix="bilder-") as workdir:
        for number, (width, height) in sorted(SIZES.items()):
            palette, indices = to_palette(render(number, workdir))
            with open(os.path.join(out_dir, "bild%d.gif" % number), "wb") as f:
                f.write(gif_bytes(width, height, palette, indices))


def check():
    """Rebuild into a temporary directory; return the names that differ."""
    differing = []
    with tempfile.TemporaryDirectory(prefix="bilder-check-") as fresh:
        build(fresh)
        for number in sorted(SIZES):
            name = "bild%d.gif" % number
            with open(os.path.join(fresh, name), "rb") as f:
                want = f.read()
            try:
                with open(os.path.join(HERE, name), "rb") as f:
                    have = f.read()
            except FileNotFoundError:
                have = None
            if have != want:
                differing.append(name)
    return differing


def tools_missing():
    if shutil.which("rsvg-convert") is None:
        return "rsvg-convert not found; install the Debian package librsvg2-bin"
    try:
        import PIL.Image  # noqa: F401
    except ImportError:
        return "PIL not found; install the Debian package python3-pil"
    return None


def main(argv=None):
    parser = argparse.ArgumentParser(description="Build the finished pictures from src/*.svg.")
    parser.add_argument("--check", action="store_true",
                        help="rebuild in a temporary directory and compare with the stored GIFs")
    args = parser.parse_args(argv)
    missing = tools_missing()
    if missing:
        print("pictures: %s" % missing, file=sys.stderr)
        return 2
    if args.check:
        differing = check()
        if differing:
            print("pictures: %s differ from a fresh build of the sources; "
                  "run /usr/bin/python3 pictures/generate.py" % ", ".join(differing))
            return 1
        print("pictures: all %d GIFs match a fresh build of the sources" % len(SIZES))
        return 0
    build(HERE)
    print("pictures: wrote %s" % ", ".join("bild%d.gif" % n for n in sorted(SIZES)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
