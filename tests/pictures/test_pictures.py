#!/usr/bin/python3
"""Checks of the six finished pictures pictures/bild1.gif ... bild6.gif.

Run as: /usr/bin/python3 tests/pictures/test_pictures.py <repo-root>

The GIFs are read with the small decoder below, so the stored-file checks need nothing
beyond the standard library; PIL is used only to cross-check the decoder and for the
generator checks, which also need rsvg-convert.
"""
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), "..", ".."))
PICTURES = os.path.join(ROOT, "pictures")
PYTHON = "/usr/bin/python3"

SIZES = {1: (317, 360), 2: (376, 354), 3: (454, 454),
         4: (451, 400), 5: (454, 454), 6: (454, 454)}
# The part of each picture that the window's client area shows.
CLIENT = {1: (317, 360), 2: (376, 353), 3: (451, 380),
          4: (451, 400), 5: (451, 353), 6: (413, 412)}
# Dot centres in play, in pixels (twips / 15), in the order of play.
DOTS = {
    1: [(32, 127), (298, 127), (298, 148), (285, 234), (266, 242), (280, 274), (248, 279),
        (237, 247), (93, 247), (81, 274), (48, 271), (63, 240), (42, 231), (31, 147)],
    2: [(9, 237), (178, 37), (190, 37), (371, 246), (298, 202), (262, 243), (180, 191),
        (120, 239), (80, 207), (17, 242)],
    3: [(218, 49), (160, 153), (55, 170), (123, 236), (97, 339), (233, 280), (373, 329),
        (326, 224), (402, 180), (304, 158), (242, 50)],
    4: [(193, 135), (151, 125), (101, 122), (64, 131), (109, 241), (129, 258), (115, 287),
        (131, 334), (177, 342), (198, 366), (221, 309), (241, 327), (258, 306), (284, 352),
        (303, 327), (344, 304), (359, 264), (343, 234), (369, 208), (389, 105), (354, 102),
        (319, 113), (276, 139), (253, 108), (222, 108), (197, 62)],
    5: [(106, 101), (105, 70), (353, 70), (354, 119), (106, 119), (107, 138), (80, 217),
        (131, 318), (329, 318), (382, 220), (354, 142)],
    6: [(56, 197), (58, 161), (381, 159), (381, 197), (63, 201), (91, 287), (346, 288),
        (327, 341), (106, 341), (95, 298)],
}


def parse_gif(data):
    """Split a GIF into its header fields and blocks without judging them."""
    gif = {"signature": data[:6]}
    gif["width"], gif["height"], gif["packed"], gif["background"], gif["aspect"] = \
        struct.unpack("<HHBBB", data[6:13])
    pos = 13
    if gif["packed"] & 0x80:
        size = 3 << ((gif["packed"] & 7) + 1)
        gif["palette"] = data[pos:pos + size]
        pos += size
    gif["extensions"], gif["images"], gif["trailer_at"] = 0, [], None

    def sub_blocks(pos):
        sizes, payload = [], bytearray()
        while data[pos]:
            sizes.append(data[pos])
            payload += data[pos + 1:pos + 1 + data[pos]]
            pos += 1 + data[pos]
        return pos + 1, sizes, bytes(payload)

    while pos < len(data):
        kind = data[pos]
        if kind == 0x21:
            gif["extensions"] += 1
            pos, _, _ = sub_blocks(pos + 2)
        elif kind == 0x2C:
            left, top, w, h, flags = struct.unpack("<HHHHB", data[pos + 1:pos + 10])
            min_code = data[pos + 10]
            pos, sizes, payload = sub_blocks(pos + 11)
            gif["images"].append({"box": (left, top, w, h), "flags": flags, "min_code": min_code,
                                  "block_sizes": sizes, "lzw": payload})
        elif kind == 0x3B:
            gif["trailer_at"] = pos
            break
        else:
            raise ValueError("unknown block 0x%02X at byte %d" % (kind, pos))
    return gif


def lzw_decode(data, min_code):
    """Return (pixels, number of clear codes, first code was clear, ended with EOI)."""
    clear, eoi = 1 << min_code, (1 << min_code) + 1
    base = [bytes([i]) for i in range(clear)] + [b"", b""]
    table, width, prev = list(base), min_code + 1, None
    out, clears, first_clear, ended = bytearray(), 0, None, False
    acc = nbits = pos = 0
    while True:
        while nbits < width and pos < len(data):
            acc |= data[pos] << nbits
            nbits += 8
            pos += 1
        if nbits < width:
            break
        code = acc & ((1 << width) - 1)
        acc >>= width
        nbits -= width
        if first_clear is None:
            first_clear = code == clear
        if code == clear:
            table, width, prev = list(base), min_code + 1, None
            clears += 1
        elif code == eoi:
            ended = True
            break
        elif prev is None:
            prev = table[code]
            out += prev
        else:
            if code < len(table):
                entry = table[code]
            elif code == len(table):
                entry = prev + prev[:1]
            else:
                raise ValueError("code %d beyond the table (%d entries)" % (code, len(table)))
            if len(table) < 4096:
                table.append(prev + entry[:1])
                if len(table) == 1 << width and width < 12:
                    width += 1
            out += entry
            prev = entry
    return bytes(out), clears, bool(first_clear), ended


def luminance(rgb):
    return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]


def have_pil():
    try:
        import PIL.Image  # noqa: F401
        return True
    except ImportError:
        return False


LOADED = {}


def load(number):
    """Parsed GIF of window `number` plus its decoded pixel indices."""
    if number not in LOADED:
        with open(os.path.join(PICTURES, "bild%d.gif" % number), "rb") as f:
            data = f.read()
        gif = parse_gif(data)
        gif["bytes"] = data
        image = gif["images"][0] if gif["images"] else None
        gif["decoded"] = lzw_decode(image["lzw"], image["min_code"]) if image else None
        LOADED[number] = gif
    return LOADED[number]


def rgb_at(gif, x, y):
    index = gif["decoded"][0][y * gif["width"] + x]
    return gif["palette"][3 * index:3 * index + 3]


class StoredPictures(unittest.TestCase):

    def test_container_facts(self):
        for n, (w, h) in SIZES.items():
            with self.subTest(window=n):
                gif = load(n)
                self.assertEqual(gif["signature"], b"GIF89a")
                self.assertEqual((gif["width"], gif["height"]), (w, h))
                # global table, colour resolution 8 bits, not sorted, 256 entries
                self.assertEqual(gif["packed"], 0xF7)
                self.assertEqual(len(gif["palette"]), 768)
                self.assertEqual((gif["background"], gif["aspect"]), (0, 0))
                self.assertEqual(gif["extensions"], 0)
                self.assertEqual(len(gif["images"]), 1)
                image = gif["images"][0]
                self.assertEqual(image["box"], (0, 0, w, h))
                self.assertEqual(image["flags"], 0, "local table or interlace flag set")
                self.assertEqual(image["min_code"], 8)
                self.assertTrue(all(0 < s <= 255 for s in image["block_sizes"]))
                self.assertEqual(gif["trailer_at"], len(gif["bytes"]) - 1,
                                 "trailer missing or bytes after it")

    def test_image_data_decodes_to_every_pixel(self):
        for n, (w, h) in SIZES.items():
            with self.subTest(window=n):
                pixels, _, first_clear, ended = load(n)["decoded"]
                self.assertTrue(first_clear, "LZW data does not start with a clear code")
                self.assertTrue(ended, "LZW data does not end with the end-of-information code")
                self.assertEqual(len(pixels), w * h)

    def test_outline_runs_through_every_dot(self):
        for n, dots in DOTS.items():
            gif = load(n)
            for i, (x, y) in enumerate(dots, 1):
                with self.subTest(window=n, dot=i):
                    near = [luminance(rgb_at(gif, x + dx, y + dy))
                            for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
                    self.assertLess(min(near), 100, "no outline pixel at (%d, %d)" % (x, y))

    def test_background_not_dark_and_thin_outline(self):
        # Guards the dot check above against a picture that is dark all over; the window's
        # black numbers stay on the finished picture, so its background must not be dark.
        for n, (cw, ch) in CLIENT.items():
            with self.subTest(window=n):
                gif = load(n)
                self.assertGreater(luminance(rgb_at(gif, 2, 2)), 100, "background dark")
                dark = sum(luminance(rgb_at(gif, x, y)) < 100
                           for y in range(0, ch, 3) for x in range(0, cw, 3))
                self.assertLess(dark / len(range(0, ch, 3)) / len(range(0, cw, 3)), 0.15)

    @unittest.skipUnless(have_pil(), "python3-pil is not installed, so there is no second "
                         "decoder to compare with")
    def test_independent_decoder_reads_the_same_pixels(self):
        from PIL import Image
        for n in SIZES:
            with self.subTest(window=n):
                gif = load(n)
                with Image.open(os.path.join(PICTURES, "bild%d.gif" % n)) as im:
                    im.load()
                    self.assertEqual(im.tobytes(), gif["decoded"][0])
                    self.assertEqual(bytes(im.getpalette()[:768]), gif["palette"])


class Writer(unittest.TestCase):
    """The generator's GIF writer on data that the six pictures may not exercise."""

    def test_round_trip(self):
        sys.path.insert(0, PICTURES)
        sys.dont_write_bytecode = True  # leave no cache files in the source tree
        try:
            import generate
        finally:
            sys.path.pop(0)
        rng = random.Random(4)
        noisy = bytes(rng.choice((rng.randrange(256), 7, 7, 7)) for _ in range(300 * 200))
        cases = {"noise that fills the code table many times": (300, 200, noisy),
                 "one colour: codes defined just before use": (500, 400, bytes([3]) * 200000),
                 "a single pixel": (1, 1, b"\xff")}
        palette = bytes(range(256)) * 3
        for name, (w, h, pixels) in cases.items():
            with self.subTest(name):
                data = generate.gif_bytes(w, h, palette, pixels)
                image = parse_gif(data)["images"][0]
                self.assertTrue(all(s <= 255 for s in image["block_sizes"]))
                decoded, clears, _, ended = lzw_decode(image["lzw"], 8)
                self.assertTrue(ended)
                self.assertEqual(decoded, pixels)
                if name.startswith("noise"):
                    self.assertGreater(clears, 2)
                if have_pil():
                    import io
                    from PIL import Image
                    with Image.open(io.BytesIO(data)) as im:
                        im.load()
                        self.assertEqual(im.tobytes(), pixels)


def segment_distance(p, a, b):
    """Distance from point p to the segment from a to b."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    length = dx * dx + dy * dy
    t = 0 if not length else max(0, min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length))
    return ((p[0] - a[0] - t * dx) ** 2 + (p[1] - a[1] - t * dy) ** 2) ** 0.5


def generator_missing():
    if shutil.which("rsvg-convert") is None:
        return "rsvg-convert (Debian package librsvg2-bin) is not installed"
    if not have_pil():
        return "PIL (Debian package python3-pil) is not installed"
    return None


@unittest.skipIf(generator_missing(), generator_missing() or "")
class Generator(unittest.TestCase):

    def run_check(self, pictures_dir):
        return subprocess.run([PYTHON, os.path.join(pictures_dir, "generate.py"), "--check"],
                              capture_output=True, text=True)

    def test_stored_pictures_match_their_sources(self):
        done = self.run_check(PICTURES)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertIn("match", done.stdout)

    def test_main_outline_follows_the_childs_lines(self):
        # The last element of each source is the dark outline through the dots. The child's
        # straight segments are drawn over the finished picture, so the outline may bow away
        # from them by a few pixels only, and must run along all of them. Between the last dot
        # and the first it may close the shape (the star's top point).
        from PIL import Image
        for n, dots in DOTS.items():
            with self.subTest(window=n):
                with open(os.path.join(PICTURES, "src", "bild%d.svg" % n)) as f:
                    source = f.read()
                shapes = list(re.finditer(r"<(?:path|polyline|polygon|line)\b[^>]*/>", source))
                last = shapes[-1].group(0)
                self.assertIn('stroke="#202020"', last)
                self.assertFalse(re.search(r"<\w", source[shapes[-1].end():]),
                                 "something is drawn over the outline")
                thin = re.sub(r'stroke-width="[^"]*"', 'stroke-width="1"', last)
                with tempfile.TemporaryDirectory() as tmp:
                    svg, png = os.path.join(tmp, "o.svg"), os.path.join(tmp, "o.png")
                    with open(svg, "w") as f:
                        f.write(source[:source.index(">", source.index("<svg")) + 1] + thin +
                                "</svg>")
                    w, h = SIZES[n]
                    subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-b", "white",
                                    "-o", png, svg], check=True)
                    with Image.open(png) as im:
                        grey = im.convert("L")
                        drawn = [(x, y) for y in range(h) for x in range(w)
                                 if grey.getpixel((x, y)) < 200]
                chain = list(zip(dots, dots[1:]))
                away = max(min(min(segment_distance(p, a, b) for a, b in chain),
                               max(segment_distance(p, dots[-1], dots[0]) - 22, 0))
                           for p in drawn)
                self.assertLessEqual(away, 10.5, "the outline leaves the child's lines")
                along = max(min((px - x) ** 2 + (py - y) ** 2 for px, py in drawn) ** 0.5
                            for (ax, ay), (bx, by) in chain for t in range(11)
                            for x, y in [(ax + (bx - ax) * t / 10, ay + (by - ay) * t / 10)])
                self.assertLessEqual(along, 10.5, "a child's line runs where no outline is")

    def test_check_names_a_changed_picture(self):
        with tempfile.TemporaryDirectory() as tmp:
            copy = os.path.join(tmp, "pictures")
            shutil.copytree(PICTURES, copy)
            # Rebuild the copy first so that only the byte flipped below differs.
            subprocess.run([PYTHON, os.path.join(copy, "generate.py")], check=True,
                           capture_output=True)
            path = os.path.join(copy, "bild4.gif")
            with open(path, "r+b") as f:
                f.seek(900)
                byte = f.read(1)
                f.seek(900)
                f.write(bytes([byte[0] ^ 1]))
            done = self.run_check(copy)
        self.assertEqual(done.returncode, 1, done.stdout + done.stderr)
        self.assertIn("bild4.gif", done.stdout)
        self.assertNotIn("bild3.gif", done.stdout)


def main():
    suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__])
    result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(suite)
    # A test with failing subtests counts once.
    failed = len({getattr(test, "test_case", test).id()
                  for test, _ in result.failures + result.errors}) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped
    line = "%d passed, %d failed" % (passed, failed)
    if skipped:
        line += ", %d skipped" % skipped
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
