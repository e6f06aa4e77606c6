#!/usr/bin/env python3
"""Draws Quillet's icons and writes them as Windows .ico files.

Each icon holds one image: 16x16 or 32x32, 8-bit (palette) or 32-bit (alpha).
Shapes are drawn on a 4x supersampled canvas and averaged down, so edges are
smooth in the 32-bit icons; 8-bit icons get a one-bit mask and a palette.

Run from anywhere: python3 resources/make_icons.py
Also writes icons/preview.png (all icons, enlarged) for a look at the artwork.
"""

import math
import os
import struct
import zlib

SS = 4  # supersampling factor


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SS
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * self.n for _ in range(self.n)]

    def _blend(self, x, y, colour):
        r, g, b, a = colour
        if a >= 1.0:
            self.px[y][x] = (r, g, b, 1.0)
            return
        pr, pg, pb, pa = self.px[y][x]
        oa = a + pa * (1 - a)
        if oa == 0:
            return
        self.px[y][x] = ((r * a + pr * pa * (1 - a)) / oa, (g * a + pg * pa * (1 - a)) / oa,
                         (b * a + pb * pa * (1 - a)) / oa, oa)

    def fill(self, inside, colour):
        """Fills every sample point (in icon pixel units) for which inside(x, y) holds."""
        colour = rgba(colour)
        for sy in range(self.n):
            y = (sy + 0.5) / SS
            for sx in range(self.n):
                x = (sx + 0.5) / SS
                if inside(x, y):
                    self._blend(sx, sy, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def ring(self, cx, cy, r_out, r_in, colour):
        self.fill(lambda x, y: r_in ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)

    def round_rect(self, x0, y0, x1, y1, rad, colour):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + rad), x1 - rad)
            cy = min(max(y, y0 + rad), y1 - rad)
            return (x - cx) ** 2 + (y - cy) ** 2 <= rad ** 2
        self.fill(inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.fill(inside, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2)) if length2 else 0.0
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
        self.fill(inside, colour)

    def arc(self, cx, cy, r, start_deg, end_deg, width, colour):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) > width / 2:
                return False
            ang = math.degrees(math.atan2(y - cy, x - cx)) % 360
            s, e = start_deg % 360, end_deg % 360
            return s <= ang <= e if s <= e else (ang >= s or ang <= e)
        self.fill(inside, colour)

    def pixels(self):
        """Averages the samples down to icon pixels: rows of (r, g, b, a) in 0..255."""
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                tr = tg = tb = ta = 0.0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        r, g, b, a = self.px[sy][sx]
                        tr += r * a
                        tg += g * a
                        tb += b * a
                        ta += a
                count = SS * SS
                if ta > 0:
                    row.append((round(tr / ta), round(tg / ta), round(tb / ta), round(255 * ta / count)))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


def rgba(colour):
    if len(colour) == 3:
        return (colour[0], colour[1], colour[2], 1.0)
    return colour


# ---------------------------------------------------------------- .ico output

def ico_32bit(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    return header + xor + and_mask(pixels, lambda p: p[3] == 0), 32, 0


def ico_8bit(pixels):
    size = len(pixels)
    palette = build_palette(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette) + b'\0\0\0\0' * (256 - len(palette))
    index = {c: i for i, c in enumerate(palette)}
    rows = []
    for row in reversed(pixels):
        data = bytes(nearest(index, palette, p) if p[3] >= 128 else 0 for p in row)
        rows.append(data + b'\0' * ((-len(data)) % 4))
    return header + pal + b''.join(rows) + and_mask(pixels, lambda p: p[3] < 128), 8, 0


def and_mask(pixels, transparent):
    size = len(pixels)
    stride = ((size + 31) // 32) * 4
    out = b''
    for row in reversed(pixels):
        bits = 0
        data = bytearray(stride)
        for x, p in enumerate(row):
            if transparent(p):
                data[x // 8] |= 0x80 >> (x % 8)
        out += bytes(data)
    return out


def build_palette(pixels):
    """Black first (the colour behind transparent pixels), then the opaque colours;
    with more than 255 of them the rarest are mapped to their nearest kept colour."""
    counts = {}
    for row in pixels:
        for (r, g, b, a) in row:
            if a >= 128:
                counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    kept = sorted(counts, key=lambda c: -counts[c])[:255]
    return [(0, 0, 0)] + [c for c in kept if c != (0, 0, 0)][:255]


def nearest(index, palette, p):
    key = (p[0], p[1], p[2])
    if key in index:
        return index[key]
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - key[k]) ** 2 for k in range(3)))


def write_ico(path, pixels, depth):
    image, bits, colours = (ico_32bit if depth == 32 else ico_8bit)(pixels)
    size = len(pixels)
    head = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(image), 22)
    with open(path, 'wb') as f:
        f.write(head + entry + image)


def write_png(path, images, scale=8, gap=8):
    """All icons side by side, enlarged, on a grey background."""
    width = sum(len(p) * scale + gap for p in images) + gap
    height = max(len(p) for p in images) * scale + 2 * gap
    grey = (219, 219, 219)
    canvas = [[grey] * width for _ in range(height)]
    x0 = gap
    for pixels in images:
        for y, row in enumerate(pixels):
            for x, (r, g, b, a) in enumerate(row):
                c = tuple(round((v * a + grey[k] * (255 - a)) / 255) for k, v in enumerate((r, g, b)))
                for yy in range(scale):
                    for xx in range(scale):
                        canvas[gap + y * scale + yy][x0 + x * scale + xx] = c
        x0 += len(pixels) * scale + gap
    raw = b''.join(b'\0' + bytes(v for c in row for v in c) for row in canvas)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


# ---------------------------------------------------------------- the artwork

OUTLINE = (40, 30, 30)


def app_face():
    """Red cartoon face: the application icon."""
    c = Canvas(16)
    c.circle(8, 8, 7.6, (110, 10, 10))
    c.circle(8, 8, 6.8, (220, 35, 30))
    c.circle(6.3, 4.8, 2.0, (240, 90, 80))           # shine
    c.circle(5.3, 6.5, 1.7, (255, 255, 255))
    c.circle(10.7, 6.5, 1.7, (255, 255, 255))
    c.circle(5.6, 6.8, 0.8, (0, 0, 0))
    c.circle(11.0, 6.8, 0.8, (0, 0, 0))
    c.arc(8, 8.6, 3.6, 20, 160, 1.3, (70, 0, 0))     # grin
    return c.pixels()


def tab_work():
    """Light grey open tray."""
    c = Canvas(16)
    c.polygon([(1, 7), (15, 7), (13.5, 14), (2.5, 14)], (120, 120, 125))
    c.polygon([(2, 8), (14, 8), (12.8, 13), (3.2, 13)], (215, 215, 220))
    c.polygon([(5, 8), (11, 8), (10.3, 10), (5.7, 10)], (180, 180, 188))
    c.rect(3, 3, 13, 7.2, (245, 245, 248))
    c.rect(3, 3, 13, 3.8, (150, 150, 155))
    c.line(4.5, 5.2, 11.5, 5.2, 0.8, (170, 170, 175))
    return c.pixels()


def tab_paths():
    """Framed list sheet."""
    c = Canvas(16)
    c.rect(1.5, 0.5, 14.5, 15.5, (60, 70, 110))
    c.rect(2.5, 1.5, 13.5, 14.5, (250, 250, 250))
    for i, y in enumerate((4, 7, 10, 13)):
        c.rect(4, y - 0.6, 5.2, y + 0.6, (60, 120, 200))
        c.rect(6.3, y - 0.5, 12.2 - (i % 2) * 2, y + 0.5, (120, 120, 130))
    return c.pixels()


def tab_status():
    """Yellow face."""
    c = Canvas(16)
    c.circle(8, 8, 7.6, (150, 110, 0))
    c.circle(8, 8, 6.8, (255, 215, 40))
    c.circle(6.5, 5.0, 2.0, (255, 240, 150))
    c.circle(5.6, 6.5, 1.0, (40, 30, 0))
    c.circle(10.4, 6.5, 1.0, (40, 30, 0))
    c.arc(8, 8.4, 3.8, 25, 155, 1.2, (90, 50, 0))
    return c.pixels()


def load_index():
    """Open folder with a sheet."""
    c = Canvas(32)
    c.polygon([(2, 7), (11, 7), (13, 10), (28, 10), (28, 27), (2, 27)], (170, 120, 20))
    c.polygon([(3, 8), (10.5, 8), (12.5, 11), (27, 11), (27, 26), (3, 26)], (235, 180, 60))
    c.polygon([(9, 3), (22, 3), (26, 7), (26, 22), (9, 22)], (110, 110, 120))
    c.polygon([(10, 4), (21.5, 4), (25, 7.5), (25, 21), (10, 21)], (255, 255, 255))
    c.polygon([(21.5, 4), (25, 7.5), (21.5, 7.5)], (200, 200, 210))
    for y in (10, 13, 16):
        c.rect(12.5, y - 0.5, 22.5, y + 0.5, (90, 130, 200))
    c.polygon([(1, 14), (27, 14), (31, 14), (27, 29), (1.5, 29)], (150, 100, 10))
    c.polygon([(2, 15), (30, 15), (26.3, 28), (2.5, 28)], (250, 205, 90))
    return c.pixels()


def gear(c, cx, cy, r, teeth, colour, hole):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.atan2(y - cy, x - cx)
        tooth = (math.cos(a * teeth) > 0.2)
        return d <= (r if tooth else r * 0.78)
    c.fill(inside, colour)
    c.circle(cx, cy, r * 0.55, tuple(min(255, v + 40) for v in colour))
    c.circle(cx, cy, r * 0.25, hole)


def sort_gears():
    """Two gears with a green "play" arrow."""
    c = Canvas(32)
    gear(c, 11, 11, 9.5, 8, (95, 100, 110), (235, 235, 240))
    gear(c, 21.5, 19.5, 7.5, 7, (130, 135, 145), (235, 235, 240))
    c.polygon([(14, 15), (30, 23.5), (14, 32)], (20, 90, 20))
    c.polygon([(15.5, 17.6), (27.5, 23.5), (15.5, 29.4)], (60, 190, 60))
    return c.pixels()


def quit_arrow():
    """Orange zig-zag arrow pointing down and right."""
    c = Canvas(32)
    path = [(3, 5), (13, 13), (9, 17), (21, 24)]
    for (x0, y0), (x1, y1) in zip(path, path[1:]):
        c.line(x0, y0, x1, y1, 6.0, (150, 60, 0))
    c.polygon([(16, 18), (30, 30), (12, 28)], (150, 60, 0))
    for (x0, y0), (x1, y1) in zip(path, path[1:]):
        c.line(x0, y0, x1, y1, 3.8, (255, 140, 20))
    c.polygon([(17.3, 20.2), (27.5, 28.6), (14.6, 27.0)], (255, 140, 20))
    return c.pixels()


def liberkey_emblem():
    """LiberKey packages: a key on a blue badge."""
    c = Canvas(16)
    c.round_rect(0.5, 0.5, 15.5, 15.5, 3.5, (20, 70, 150))
    c.round_rect(1.5, 1.5, 14.5, 14.5, 2.8, (50, 130, 220))
    c.ring(5.5, 6, 3.2, 1.4, (255, 210, 40))
    c.line(7.8, 8.2, 13, 13.4, 1.6, (255, 210, 40))
    c.line(10.6, 11.0, 9.0, 12.6, 1.3, (255, 210, 40))
    c.line(12.2, 12.6, 10.8, 14.0, 1.3, (255, 210, 40))
    return c.pixels()


def portableapps_emblem():
    """PortableApps packages: a carry case on a red disc."""
    c = Canvas(16)
    c.circle(8, 8, 7.6, (130, 20, 10))
    c.circle(8, 8, 6.8, (225, 60, 30))
    c.ring(8, 6.2, 2.6, 1.5, (255, 255, 255))
    c.round_rect(3.5, 6.5, 12.5, 12.5, 1.2, (255, 255, 255))
    c.rect(3.5, 8.8, 12.5, 9.6, (225, 60, 30))
    return c.pixels()


def android_robot():
    """Android packages: the green robot."""
    c = Canvas(16)
    green = (120, 195, 30)
    c.line(5, 1.5, 6.2, 3.5, 0.8, green)
    c.line(11, 1.5, 9.8, 3.5, 0.8, green)
    c.fill(lambda x, y: y <= 6.3 and ((x - 8) / 4.6) ** 2 + ((y - 6.3) / 3.6) ** 2 <= 1, green)
    c.circle(6.3, 4.6, 0.55, (255, 255, 255))
    c.circle(9.7, 4.6, 0.55, (255, 255, 255))
    c.round_rect(3.4, 7.0, 12.6, 12.8, 1.2, green)
    c.round_rect(1.0, 7.0, 2.8, 11.6, 0.9, green)
    c.round_rect(13.2, 7.0, 15.0, 11.6, 0.9, green)
    c.round_rect(5.0, 12.0, 6.9, 15.2, 0.9, green)
    c.round_rect(9.1, 12.0, 11.0, 15.2, 0.9, green)
    return c.pixels()


ICONS = [
    ('app.ico', app_face, 8),
    ('tab_work.ico', tab_work, 32),
    ('tab_paths.ico', tab_paths, 8),
    ('tab_status.ico', tab_status, 8),
    ('load_index.ico', load_index, 32),
    ('sort.ico', sort_gears, 32),
    ('quit.ico', quit_arrow, 8),
    ('package_liberkey.ico', liberkey_emblem, 32),
    ('package_portableapps.ico', portableapps_emblem, 32),
    ('package_android.ico', android_robot, 32),
]


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'icons')
    os.makedirs(out, exist_ok=True)
    images = []
    for name, draw, depth in ICONS:
        pixels = draw()
        write_ico(os.path.join(out, name), pixels, depth)
        images.append(pixels)
    write_png(os.path.join(out, 'preview.png'), images)


if __name__ == '__main__':
    main()
