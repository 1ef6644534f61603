#!/usr/bin/env python3
"""Makes the program's icons from klimora.svg and klimora-16.svg.

Writes klimora.ico (32x32 monochrome, 32x32 and 16x16 in 16 colours, for the
window and the Windows resource), klimora-N.png for the desktop icon theme,
and the larger ones phones put on their home screens for the web page.
Needs ImageMagick's convert, rsvg-convert (librsvg2-bin) for the large
ones, which it draws sharper, and optipng, which stores every PNG as small as
it goes without changing a pixel: a phone downloads them. Run it again after
changing either drawing.
"""
import pathlib
import struct
import subprocess

HERE = pathlib.Path(__file__).resolve().parent
THEME_SIZES = (16, 32, 48, 64, 128)
HOME_SCREEN_SIZES = (180, 192, 512)

# The classic 16-colour palette.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
MONOCHROME = [(0, 0, 0), (255, 255, 255)]


def render(size, image_format, crisp=False):
    # The 16-pixel drawing is made pixel by pixel. Palette images stay crisp:
    # anti-aliased edges would turn into stray colours.
    name, drawn_size = ('klimora-16.svg', 16) if size == 16 else ('klimora.svg', 32)
    options = ['+antialias'] if crisp or size == 16 else []
    return subprocess.run(
        ['convert', '-background', 'none', *options, '-density', str(96 * size // drawn_size),
         str(HERE / name), '-resize', f'{size}x{size}', '-depth', '8', f'{image_format}:-'],
        check=True, capture_output=True).stdout


def rgba_pixels(size):
    raw = render(size, 'rgba', crisp=True)
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def monochrome_index(rgb):
    luminance = 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]
    return 1 if luminance >= 128 else 0


def packed_rows(values, size, bits):
    """Bottom-up rows of `bits`-wide values, each padded to four bytes."""
    rows = []
    for y in reversed(range(size)):
        accumulator, count, row = 0, 0, bytearray()
        for x in range(size):
            accumulator = (accumulator << bits) | values[y * size + x]
            count += bits
            if count == 8:
                row.append(accumulator)
                accumulator, count = 0, 0
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return b''.join(rows)


def ico_image(size, palette, index_of):
    pixels = rgba_pixels(size)
    opaque = [p[3] >= 128 for p in pixels]
    indices = [index_of(p[:3]) if o else 0 for p, o in zip(pixels, opaque)]
    bits = 1 if len(palette) == 2 else 4
    xor_mask = packed_rows(indices, size, bits)
    and_mask = packed_rows([0 if o else 1 for o in opaque], size, 1)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0,
                         len(xor_mask) + len(and_mask), 0, 0, len(palette), 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return size, len(palette), bits, header + colours + xor_mask + and_mask


def write_ico(path, images):
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b'', b''
    for size, colours, bits, image in images:
        entries += struct.pack('<BBBBHHII', size, size, colours, 0, 1, bits, len(image),
                               offset + len(data))
        data += image
    path.write_bytes(directory + entries + data)


def main():
    write_ico(HERE / 'klimora.ico', [
        ico_image(32, MONOCHROME, monochrome_index),
        ico_image(32, VGA, lambda rgb: nearest(VGA, rgb)),
        ico_image(16, VGA, lambda rgb: nearest(VGA, rgb)),
    ])
    for size in THEME_SIZES:
        (HERE / f'klimora-{size}.png').write_bytes(render(size, 'png'))
    for size in HOME_SCREEN_SIZES:
        subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size), '-o',
                        str(HERE / f'klimora-{size}.png'), str(HERE / 'klimora.svg')], check=True)
    subprocess.run(['optipng', '-o7', '-strip', 'all', '-quiet',
                    *sorted(str(path) for path in HERE.glob('klimora-*.png'))], check=True)


if __name__ == '__main__':
    main()
