#!/usr/bin/env python3
"""Writes swarms.xml, the swarm demo: four scenes of particle swarms in 40 seconds.

   0-10 s  a sphere swarm with a lit cube at every point, coloured in a ramp, turning under an orbiting camera
  10-20 s  ribbons: a spirograph cut in two (SplitSwarm) with a turned copy behind it (MoveSwarm), and a
           Lissajous figure (MakeSineSwarm) under a bow made of a Bezier arc and its chord (AddSwarms of
           MakeBezierSwarm and DrawLineSwarm)
  20-30 s  a morph of cubes: a lattice cube becomes a sphere, the sphere a coil round a torus
           (MorphSwarms twice, from MakeCubeSwarm, MakeSphereSwarm and MakeTorusSineSwarm)
  30-40 s  confetti: a star field (MakeStarfieldSwarm) of randomly turned and sized squares and triangles
           in random colours, with a tumbling cloud of random cubes (MakeRandSwarm), as the camera flies
           through

Run from this folder after changing it:  ./make_swarms.py
Play from the repository root:          build/bin/player demos/swarms/swarms.xml

Tracks run from the last to the first in every frame, so the document lists them in the reverse of their
order of work: drawing first, then cameras and lights, the nodes, the groups that hold them, the
operations on swarms, the generators, and last the track that empties the scene. A node must be on a
track above its group's, because a group drops its children when its own running call comes.
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the demo folder free of caches

from demo_writer import Demo, ROTATE, event, keys, lin, sine

SCAFFOLD = {
    "Clear3D": 0, "Show3D": 7, "Color4BG": 12, "Fade": 4,
    "SetCamera3D": 10, "FocusCamera3D": 10, "SetLight3D": 17,
    "Make3DGroup": 11, "MakeSwarmGroup": 15,
    "Cube3D": 17, "Rectangle3D": 18, "Triangle3D": 18, "ShowRibbons3D": 16,
}
SWARMS = {
    "MakeCubeSwarm": 4, "MakeSphereSwarm": 4, "MakeStarfieldSwarm": 4, "MakeSineSwarm": 13,
    "MakeTorusSineSwarm": 7, "MakeSpiroSwarm": 9, "MakeBezierSwarm": 15, "MakeRandSwarm": 6,
    "DrawLineSwarm": 9, "AddSwarms": 3, "MoveSwarm": 11, "SplitSwarm": 4, "MorphSwarms": 5,
    "ColorSwarm": 4, "ColorSwarmBetween": 8, "ColorRandomSetSwarm": 51, "OrientSwarmRandom": 2,
    "ResizeSwarmRandom": 5,
}

# Fixed-point units of the effect words: positions in thousandths, and
ONE = 100000         # scales and quaternion components
GL_ONE, GL_ZERO = 1, 0
ASPECT = 17778       # 16:9, x 0.0001
RUNNING_TIME = 40000
SWARMS_END = 39000   # the swarms are gone for the last second, which is black

S1, S2, S3, S4 = (0, 10000), (10000, 20000), (20000, 30000), (30000, SWARMS_END)
# The morph's sources are made and coloured a second before their scene. An in-place colouring first changes
# its swarm in its first running call, which comes after every first call of that frame, the morphs' first
# builds included; and a morph of static sources whose counts and words stay the same builds no more.
S3_SOURCES = (19000, 30000)

demo = Demo([("RunningTime", str(RUNNING_TIME)), ("UseOpenGL", "true"), ("NumberOfInputSurfaces", "0"),
             ("AspectRatioX", "16"), ("AspectRatioY", "9")],
            [("Scaffold.so", SCAFFOLD), ("Swarms.so", SWARMS)])
T = demo.text
WORLD = T("theWorld")
IDENTITY = (0, 0, 0, ONE)


def light(span, x, y, z, ambient, diffuse):
    """A white-specular light without fall-off, hung into the scene root."""
    return event("SetLight3D", *span, x, y, z, *ambient, *diffuse, 255, 255, 255, 10000, 0, 0, WORLD, 0)


def cube(span, size, scale, group):
    """A lit white cube of edge 2 * size * scale / 100000 hung into `group`; inside a swarm group it takes
    the colour of each point."""
    return event("Cube3D", *span, size, 255, 255, 255, 0, 0, 0, *IDENTITY, 255, GL_ONE, GL_ZERO, scale, group,
                 0)


def swarm_group(span, name, swarm, parent=0, rotation=IDENTITY):
    """A swarm group drawing its nodes at every point of `swarm` (up to 1000), turned by `rotation`."""
    return event("MakeSwarmGroup", *span, name, swarm, 0, 0, 0, *rotation, ONE, parent, 0, 1000, 0, 0)


def ribbon(span, swarm, width, position, opaque=False):
    """A ribbon in one strip through the points of `swarm`, opaque or added to what is behind it (its
    quaternion is x 0.0001)."""
    blend = (GL_ONE, GL_ZERO) if opaque else (GL_ONE, GL_ONE)
    return event("ShowRibbons3D", *span, swarm, width, 10000, *position, 0, 0, 0, 10000, 255, *blend, ONE,
                 WORLD, 0)


def ramp(span, swarm, first, second, seed=0):
    return event("ColorSwarmBetween", *span, swarm, *first, *second, seed)


def color_set(span, swarm, colours, seed):
    words = [c for rgb in colours for c in rgb] + [0] * (48 - 3 * len(colours))
    return event("ColorRandomSetSwarm", *span, swarm, len(colours), *words, seed)


# --- names ------------------------------------------------------------------------------------------------
# scene 1: a sphere of cubes
SPIN, BALL_CUBES, BALL = T("Spin"), T("BallCubes"), T("Ball")
# scene 2: ribbons
SPIRO, SPIRO_A, SPIRO_B, SPIRO_TURNED = T("Spiro"), T("SpiroA"), T("SpiroB"), T("SpiroTurned")
WAVE = T("Wave")
ARC, CHORD, BOW = T("Arc"), T("Chord"), T("Bow")
# scene 3: the morph
LATTICE, GLOBE, KNOT, HALFWAY, SHAPE, SHAPE_CUBES = (T("Lattice"), T("Globe"), T("Knot"), T("Halfway"),
                                                     T("Shape"), T("ShapeCubes"))
# scene 4: confetti
STARS, SQUARES, TRIANGLES, SQUARE_GROUP, TRIANGLE_GROUP = (T("Stars"), T("Squares"), T("Triangles"),
                                                           T("SquareGroup"), T("TriangleGroup"))
DUST, TUMBLE = T("Dust"), T("Tumble")

# --- tracks, in the order they work in a frame --------------------------------------------------------------

demo.track("an empty scene at the start of every frame", event("Clear3D", 0, SWARMS_END))

demo.track("backgrounds (corners bottom-left, bottom-right, top-right, top-left)",
           event("Color4BG", *S1, 4, 6, 20, 4, 6, 20, 30, 20, 60, 30, 20, 60),
           event("Color4BG", *S2, 2, 2, 8, 12, 4, 24, 12, 4, 24, 2, 2, 8),
           event("Color4BG", *S3, 16, 20, 36, 16, 20, 36, 56, 66, 96, 56, 66, 96),
           event("Color4BG", *S4, 0, 0, 0, 0, 0, 0, 10, 10, 30, 10, 10, 30))

# generators: sizes in whole scene units
demo.track("generators",
           event("MakeSphereSwarm", *S1, BALL, 6, 16, 9),
           # b + c = 3.5 units round a pen 2 units out, 3 degrees a point (closed after 360 points),
           # tilting in and out of its plane
           event("MakeSpiroSwarm", *S2, SPIRO, 360, 500, -150, 2, 300, 500, 30, lin(0, 3600)),
           event("MakeStarfieldSwarm", *S4, STARS, 400, 12, 0))
demo.track("",
           # a 3:2 Lissajous figure, closed after 300 points, whose y phase runs
           event("MakeSineSwarm", *S2, WAVE, 300, 2, 3, 1, 0, 4, 2, lin(0, 2000), 2, 1, 250, 0),
           event("MakeRandSwarm", *S4, DUST, 80, 8, 6, 8, 4))
demo.track("",
           # an arc over the figure (control points in thousandths)
           event("MakeBezierSwarm", *S2, ARC, 160, -5000, -5000, 0, -4000, 6000, 0, 4000, 6000, 0, 5000,
                 -5000, 0, 0))
demo.track("", event("DrawLineSwarm", *S2, CHORD, 0, 0, 5, -5, 0, -5, -5, 0))
# the morph's sources: a 6 x 6 x 6 hollow cube of 152 points, a sphere of 15 x 10 + 2 = 152 points, and
# 152 points in five turns round a 4-unit ring
demo.track("the morph's sources", event("MakeCubeSwarm", *S3_SOURCES, LATTICE, 6, 1, 0))
demo.track("", event("MakeSphereSwarm", *S3_SOURCES, GLOBE, 4, 15, 10))
demo.track("", event("MakeTorusSineSwarm", *S3_SOURCES, KNOT, 152, 4, 41, 2, 207, 0))

# operations, each after the swarms it reads
demo.track("colours and orientations of generated swarms",
           ramp(S1, BALL, (255, 120, 30), (40, 200, 255)),
           ramp(S2, WAVE, (40, 255, 160), (40, 120, 255)),
           color_set(S4, STARS,
                     [(255, 80, 80), (255, 220, 60), (80, 220, 120), (80, 160, 255), (230, 110, 255)], 11))
demo.track("", event("ColorSwarm", *S3_SOURCES, LATTICE, 255, 130, 40))
demo.track("", event("ColorSwarm", *S3_SOURCES, GLOBE, 60, 230, 150),
           event("OrientSwarmRandom", *S4, STARS, 5))
demo.track("", event("ColorSwarm", *S3_SOURCES, KNOT, 180, 90, 255),
           event("ResizeSwarmRandom", *S4, STARS, 50000, 150000, 0, 9))
demo.track("", ramp(S4, DUST, (255, 255, 255), (255, 140, 40), seed=3))
demo.track("", event("OrientSwarmRandom", *S4, DUST, 21))

demo.track("swarms made from swarms",
           # the warm part of the spirograph grows along it over the scene
           event("SplitSwarm", *S2, SPIRO_A, SPIRO_B, SPIRO, lin(0, 360)),
           event("MorphSwarms", *S3, HALFWAY, LATTICE, GLOBE, keys("lin", -610, (2500, -610), (2500, 1000)),
                 4),
           event("SplitSwarm", *S4, SQUARES, TRIANGLES, STARS, 250))
demo.track("",
           # a smaller copy, turning about the z axis, behind the spirograph
           event("MoveSwarm", *S2, SPIRO_TURNED, SPIRO, 0, 0, 0, -2500, ROTATE, 0, 0, lin(0, 3142), 60000),
           event("MorphSwarms", *S3, SHAPE, HALFWAY, KNOT, keys("lin", -610, (6500, -610), (2500, 1000)), 4))
demo.track("", event("AddSwarms", *S2, BOW, ARC, CHORD))
# An in-place operation works again only when its swarm is not static or its own words change. SplitSwarm
# rebuilds its halves in every frame, but they count as static when all its words are constant, so their
# colours would be lost after the first frame: here the moving split count keeps them non-static.
demo.track("colours of the swarms made from swarms",
           ramp(S2, SPIRO_A, (255, 60, 160), (255, 210, 40)))
demo.track("", ramp(S2, SPIRO_B, (60, 200, 255), (150, 80, 255)))
demo.track("", event("ColorSwarm", *S2, SPIRO_TURNED, 70, 70, 130))
demo.track("", event("ColorSwarm", *S2, BOW, 255, 230, 160))

# groups: a parent before the groups inside it
demo.track("the group that turns the sphere of cubes",
           event("Make3DGroup", *S1, SPIN, 0, 0, 0, ROTATE, sine(250, 9000), lin(0, 2500), 0, ONE, 0, 0))
demo.track("swarm groups",
           swarm_group(S1, BALL_CUBES, BALL, parent=SPIN),
           swarm_group(S3, SHAPE_CUBES, SHAPE, rotation=(ROTATE, 350, lin(-600, 900), 0)),
           swarm_group(S4, SQUARE_GROUP, SQUARES, rotation=(ROTATE, 0, lin(0, 1200), lin(0, 400))))
demo.track("", swarm_group(S4, TRIANGLE_GROUP, TRIANGLES, rotation=(ROTATE, 0, lin(0, 1200), lin(0, 400))))
demo.track("", swarm_group(S4, TUMBLE, DUST, rotation=(ROTATE, lin(0, 3000), lin(0, 2000), 0)))

# the nodes: one cube, square or triangle drawn at every point of a swarm group, and the ribbons
demo.track("nodes in the swarm groups",
           cube(S1, 1, 32000, BALL_CUBES),
           cube(S3, 1, 22000, SHAPE_CUBES),
           event("Rectangle3D", *S4, 2, 2, 255, 255, 255, 0, 0, 0, *IDENTITY, 255, GL_ONE, GL_ZERO, 30000,
                 SQUARE_GROUP, 0))
demo.track("", event("Triangle3D", *S4, 2, 2, 255, 255, 255, 0, 0, 0, *IDENTITY, 255, GL_ONE, GL_ZERO, 40000,
                     TRIANGLE_GROUP, 0))
demo.track("", cube(S4, 1, 14000, TUMBLE))
demo.track("ribbons: the spirograph on the left, the Lissajous figure in its bow on the right",
           ribbon(S2, SPIRO_A, 5, (-4500, 500, 0), opaque=True))
demo.track("", ribbon(S2, SPIRO_B, 5, (-4500, 500, 0), opaque=True))
demo.track("", ribbon(S2, SPIRO_TURNED, 3, (-4500, 500, 0)))
demo.track("", ribbon(S2, WAVE, 6, (6000, 0, 0), opaque=True))
demo.track("", ribbon(S2, BOW, 3, (6000, 0, -1000)))

demo.track("lights",
           light(S1, 8000, 12000, 14000, (50, 50, 60), (255, 250, 240)),
           light(S3, -6000, 10000, 12000, (50, 50, 60), (255, 255, 255)),
           light(S4, 0, 6000, 30000, (70, 70, 70), (255, 255, 255)))

demo.track("cameras, after the groups they aim at",
           # orbit the sphere of cubes while closing in, a little from above
           event("FocusCamera3D", *S1, SPIN, -1, -1, 2, keys("bez", 26000, (10000, 15000)), lin(-500, 1200),
                 lin(450, 150), ASPECT, 1, 1000),
           # drift past the ribbons
           event("SetCamera3D", *S2, lin(-1500, 500), 0, lin(15000, 13000), 0, 0, 0, ONE, ASPECT, 1, 1000),
           # watch the cube become a sphere from the front, then swing up round the coil
           event("FocusCamera3D", *S3, SHAPE_CUBES, -1, -1, 2,
                 keys("bez", 13000, (6000, 12000), (4000, 14000)), keys("bez", 0, (5000, 300), (5000, 1500)),
                 keys("bez", 200, (6000, 250), (4000, 900)), ASPECT, 1, 1000),
           # fly through the confetti
           event("SetCamera3D", *S4, 0, 0, lin(26000, -4000), 0, 0, 0, ONE, ASPECT, 1, 1000))

demo.track("the scene, drawn over the backgrounds",
           *[event("Show3D", *span, 0, 640, 360, 0, 0, 0, 0) for span in (S1, S2, S3, S4)])

demo.track("fades: in from black, cuts through black and a white flash, out to black",
           event("Fade", 0, 1500, 0, 0, 0, lin(255, 0)),
           event("Fade", 9500, 10000, 0, 0, 0, lin(0, 255)),
           event("Fade", 10000, 10600, 0, 0, 0, lin(255, 0)),
           event("Fade", 19400, 20000, 255, 255, 255, lin(0, 200)),
           event("Fade", 20000, 20800, 255, 255, 255, lin(200, 0)),
           event("Fade", 29500, 30000, 0, 0, 0, lin(0, 255)),
           event("Fade", 30000, 30600, 0, 0, 0, lin(255, 0)),
           event("Fade", 37000, SWARMS_END, 0, 0, 0, lin(0, 255)),
           # black over the last second, when nothing else draws any more
           event("Fade", SWARMS_END, RUNNING_TIME, 0, 0, 0, 255))

here = os.path.dirname(os.path.abspath(__file__))
demo.write(os.path.join(here, "swarms.xml"),
           "The swarm demo, written by make_swarms.py (edit that and run it again). "
           "Play from the repository root: build/bin/player demos/swarms/swarms.xml")
