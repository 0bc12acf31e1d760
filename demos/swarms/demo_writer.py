"""A small writer for demo documents: libraries with their functions, tracks of events with constant and
animated parameters, and the Texts list. make_swarms.py uses it to write swarms.xml.

Parameters of an event are given as Python values:
    123                              a constant
    lin(a, b)                        a linear ramp from a to b over the whole event
    keys("lin" | "bez" | "sqd", v0, (ms, v1), (ms, v2), ...)   key values, each segment with its length
    sine(ampli, period, offset=0, height=0)
    ROTATE                           the next three parameters are angles (milliradians) turned into a
                                     quaternion (four words)
"""

ROTATE = ("rotate",)


def lin(start, end):
    return ("lin", start, end)


def keys(interpol, first, *segments):
    return ("multi", interpol, first, segments)


def sine(ampli, period, offset=0, height=0):
    return ("sin", ampli, period, offset, height)


def param_xml(p):
    if isinstance(p, int):
        return '<param type="const" val="%d"/>' % p
    kind = p[0]
    if kind == "lin":
        return '<param start="%d" end="%d"/>' % (p[1], p[2])
    if kind == "multi":
        segs = "".join('<seg time="%d" val="%d"/>' % s for s in p[3])
        return '<param type="multi" interpol="%s" val="%d">%s</param>' % (p[1], p[2], segs)
    if kind == "sin":
        return '<param type="sin" ampli="%d" period="%d" offset="%d" height="%d"/>' % p[1:]
    if kind == "rotate":
        return '<param type="rotate"/>'
    raise ValueError("unknown parameter %r" % (p,))


class Demo:
    def __init__(self, settings, libraries):
        """libraries: [(file name, {function name: word count})]."""
        self.settings = settings
        self.libraries = libraries
        self.texts = ["unused"]
        self.tracks = []

    def text(self, name):
        """Index of a text, added on first use (index 0 is never used, it means 'none' to many effects)."""
        if name not in self.texts:
            self.texts.append(name)
        return self.texts.index(name)

    def library_of(self, function):
        for file_name, functions in self.libraries:
            if function in functions:
                return file_name, functions[function]
        raise KeyError(function)

    def track(self, comment, *events):
        """Adds a track. Tracks are given in the order they work in a frame (the first empties the scene,
        the last draws); the document lists them the other way round, since the player runs its tracks
        from the last to the first."""
        self.tracks.append((comment, events))

    def write(self, path, header):
        out = ['<?xml version="1.0"?>', "<!-- %s -->" % header, "<Demo>"]
        attrs = " ".join('%s="%s"' % kv for kv in self.settings)
        out.append("  <Settings %s/>" % attrs)
        for file_name, functions in self.libraries:
            out.append('  <Library FileName="%s">' % file_name)
            for name, count in functions.items():
                params = "".join('<Param Name="a%d"/>' % i for i in range(count))
                out.append('    <Function Name="%s">%s</Function>' % (name, params))
            out.append("  </Library>")
        for comment, events in reversed(self.tracks):
            out.append("  <Track>")
            if comment:
                out.append("    <!-- %s -->" % comment)
            for function, start, end, params in events:
                file_name, count = self.library_of(function)
                given = len(params)  # a rotation and its three angles give four words
                if given != count:
                    raise ValueError("%s at %d: %d words, the function takes %d"
                                     % (function, start, given, count))
                body = "".join(param_xml(p) for p in params)
                out.append('    <Event LibraryFileName="%s" FunctionName="%s" StartTime="%d" EndTime="%d">'
                           '%s</Event>' % (file_name, function, start, end, body))
            out.append("  </Track>")
        out.append("  <Texts>%s</Texts>" % "".join("<Text>%s</Text>" % t for t in self.texts))
        out.append("</Demo>")
        with open(path, "w") as f:
            f.write("\n".join(out) + "\n")


def event(function, start, end, *params):
    return (function, start, end, params)
