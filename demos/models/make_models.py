#!/usr/bin/env python3
"""Writes the models of the models demo: ring.obj (a torus), gem.obj (an octahedron cut into facets) and
their shared material library models.mtl. Run from this folder: ./make_models.py"""
import math


def torus(big, small, rings, sides):
    lines = ["# a torus about the z axis", "mtllib models.mtl", "o Ring"]
    for i in range(rings):
        a = 2 * math.pi * i / rings
        for j in range(sides):
            b = 2 * math.pi * j / sides
            n = (math.cos(a) * math.cos(b), math.sin(a) * math.cos(b), math.sin(b))
            r = big + small * math.cos(b)
            lines.append("v %.5f %.5f %.5f" % (r * math.cos(a), r * math.sin(a), small * math.sin(b)))
            lines.append("vn %.5f %.5f %.5f" % n)
    lines.append("usemtl Copper")
    lines.append("s 1")
    for i in range(rings):
        for j in range(sides):
            a = i * sides + j + 1
            b = ((i + 1) % rings) * sides + j + 1
            c = ((i + 1) % rings) * sides + (j + 1) % sides + 1
            d = i * sides + (j + 1) % sides + 1
            lines.append("f %d//%d %d//%d %d//%d" % (a, a, b, b, c, c))
            lines.append("f %d//%d %d//%d %d//%d" % (a, a, c, c, d, d))
    return lines


def gem(size):
    corners = [(size, 0, 0), (-size, 0, 0), (0, size * 1.4, 0), (0, -size * 1.4, 0), (0, 0, size), (0, 0, -size)]
    faces = [(0, 2, 4), (4, 2, 1), (1, 2, 5), (5, 2, 0), (4, 3, 0), (1, 3, 4), (5, 3, 1), (0, 3, 5)]
    lines = ["# an octahedron with flat facets", "mtllib models.mtl", "o Gem"]
    lines += ["v %.5f %.5f %.5f" % c for c in corners]
    for f in faces:
        p = [corners[k] for k in f]
        u = [p[1][i] - p[0][i] for i in range(3)]
        v = [p[2][i] - p[0][i] for i in range(3)]
        n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
        length = math.sqrt(sum(x * x for x in n))
        lines.append("vn %.5f %.5f %.5f" % tuple(x / length for x in n))
    lines.append("usemtl Glow")
    for i, f in enumerate(faces):
        lines.append("f %d//%d %d//%d %d//%d" % (f[0] + 1, -1 - (7 - i), f[1] + 1, -1 - (7 - i), f[2] + 1, -1 - (7 - i)))
    return lines


MATERIALS = """# materials of the models demo
newmtl Copper
Ka 0.25 0.12 0.05
Kd 0.95 0.5 0.2
Ks 1 0.9 0.8
Ns 40
illum 2

newmtl Glow
Ka 1 1 1
Kd 1 1 1
Ks 1 1 1
Ns 10
d 1
illum 2
"""

with open("ring.obj", "w") as f:
    f.write("\n".join(torus(3.0, 1.0, 48, 24)) + "\n")
with open("gem.obj", "w") as f:
    f.write("\n".join(gem(1.2)) + "\n")
with open("models.mtl", "w") as f:
    f.write(MATERIALS)
