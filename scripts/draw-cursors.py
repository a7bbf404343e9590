#!/usr/bin/env python3
"""Draws the viewer's seven mouse-mode cursors as 32 x 32 XPM images into
src/viewer/cursors: white strokes two pixels wide with a black border, so that each
shows on light and dark pictures. Run it again after changing a drawing."""
import math
import os

SIZE = 32


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def arc(cx, cy, r, start, end, steps=24):
    """Points of an arc, angles in degrees (counter-clockwise on screen)."""
    return [(cx + r * math.cos(math.radians(a)), cy - r * math.sin(math.radians(a)))
            for a in [start + (end - start) * k / steps for k in range(steps + 1)]]


def polyline(points):
    return list(zip(points, points[1:]))


def arrow_head(tip, back_angle, length=5):
    """Two strokes of an arrow head at `tip`, opening towards `back_angle` degrees."""
    x, y = tip
    return [((x, y), (x + length * math.cos(math.radians(back_angle + s)),
                      y - length * math.sin(math.radians(back_angle + s))))
            for s in (-35, 35)]


def render(segments, filled=()):
    rows = []
    for j in range(SIZE):
        row = ''
        for i in range(SIZE):
            px, py = i + 0.5, j + 0.5
            d = min(segment_distance(px, py, *a, *b) for a, b in segments)
            inside = any(f(px, py) for f in filled)
            if d <= 1.0 or inside:
                row += '.'
            elif d <= 2.1:
                row += '#'
            else:
                row += ' '
        rows.append(row)
    return rows


def cursors():
    c = SIZE / 2
    yield 'G_Edit', (3, 28), render(  # a pencil, tip at the lower left
        polyline([(3, 28), (6, 20), (24, 2), (30, 8), (12, 26), (3, 28)]) +
        [((6, 20), (12, 26)), ((21, 5), (27, 11))])
    yield 'G_Select', (2, 2), render(  # an arrow with a small selection square
        polyline([(2, 2), (2, 20), (7, 15), (11, 24), (14, 22), (10, 14), (17, 14), (2, 2)]) +
        polyline([(20, 20), (29, 20), (29, 29), (20, 29), (20, 20)]))
    ring = arc(c, c, 11, 40, 320)
    yield 'G_Rotate', (16, 16), render(  # a turning arrow round the centre, with a cross
        polyline(ring) + arrow_head(ring[-1], 320 - 90) +
        [((c - 3, c), (c + 3, c)), ((c, c - 3), (c, c + 3))])
    yield 'G_Scale', (12, 12), render(  # a magnifying glass with plus and minus
        polyline(arc(12, 12, 8, 0, 360, 32)) + [((18, 18), (29, 29)),
                                                 ((8, 12), (16, 12)), ((12, 8), (12, 16))])
    yield 'G_Trans', (16, 16), render(  # arrows in four directions
        [((c, 3), (c, 29)), ((3, c), (29, c))] +
        arrow_head((c, 3), 270) + arrow_head((c, 29), 90) +
        arrow_head((3, c), 0) + arrow_head((29, c), 180))
    zring = arc(c, c, 12, 200, 520)
    yield 'G_ZRotate', (16, 16), render(  # a turning arrow round a "Z"
        polyline(zring) + arrow_head(zring[-1], 520 - 90) +
        polyline([(11, 11), (21, 11), (11, 21), (21, 21)]))
    yield 'G_Color', (5, 5), render(  # a magic wand with a spark at its tip
        [((5, 5), (28, 28)), ((2, 9), (9, 2)), ((5, 1), (5, 9)), ((1, 5), (9, 5))] +
        [((20, 17), (25, 22))])


def xpm(name, rows):
    lines = ['/* XPM */', 'static const char* %s[] = {' % name,
             '"%d %d 3 1",' % (SIZE, SIZE), '"  c None",', '". c #FFFFFF",', '"# c #000000",']
    lines += ['"%s",' % row for row in rows[:-1]] + ['"%s"' % rows[-1], '};']
    return '\n'.join(lines) + '\n'


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'viewer',
                          'cursors')
    for name, hotspot, rows in cursors():
        with open(os.path.join(folder, name + '.xpm'), 'w') as out:
            out.write(xpm(name, rows))
        print(name, 'hot spot', hotspot)


if __name__ == '__main__':
    main()
