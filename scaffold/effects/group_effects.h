// Effects that make named 3D groups (published as '3DWR' resources) and hang them into the scene.
//
// A group lives from its event's first call to its last. Each running call empties it and hangs it, with
// its transform, into its parent group (parent text index 0: the scene root), so that effects running
// later in the frame can fill it again. name, parent, swarm, source and targets are text indices.
// Units: positions x 0.001, quaternion components x 0.00001 (normalised), scales x 0.00001, angles
// x 0.001 rad. Every effect returns false after logging a message (status -1), else true.
//
// Each event only ever changes the group its own first call made: an event whose first call was refused
// (its name already in use, or all groups taken) leaves the other event's group of that name alone.
#pragma once

#include <vortel/plugin.h>

VORTEL_EXPORT bool Make3DGroup(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                               int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale,
                               int32_t parent, int32_t showMarker);

// Draws its children `copies` times with the step transform applied stepOffset + j times (copy j).
VORTEL_EXPORT bool Make3DKaleido(StateStruct* state, void** privateData, int32_t name, int32_t x, int32_t y,
                                 int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd, int32_t scale,
                                 int32_t parent, int32_t showMarker, int32_t copies, int32_t stepOffset,
                                 int32_t sx, int32_t sy, int32_t sz, int32_t sqa, int32_t sqb, int32_t sqc,
                                 int32_t sqd, int32_t sscale);

// Draws its children mirrored by +-angle about axis (1 = y, 2 = z, other = x).
VORTEL_EXPORT bool MakeSymmetryGroup(StateStruct* state, void** privateData, int32_t name, int32_t x,
                                     int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc, int32_t qd,
                                     int32_t scale, int32_t parent, int32_t showMarker, int32_t axis,
                                     int32_t angle);

// Draws its children once per point first .. first + count - 1 of the 'SWRM' resource `swarm`. With
// timeStep != 0 each drawn point j also gets an extra transform read through GetParam from argument words
// 15..17 (offset, at time startTime + localTime + j * timeStep), 18..21 (quaternion, same time) and 22
// (scale, at startTime + j * timeStep); the event should declare those words. Extra transforms are only
// made for points the swarm has.
//
// What is drawn at the points, and how big:
// - The children are the nodes hung into the group after its own running call in the frame. The player
//   runs tracks from the last to the first, so a node effect (Cube3D, ...) must sit on a track above the
//   group's; a node hung before the group's call is dropped when the group empties itself, and nothing is
//   drawn at the points.
// - Each child keeps its own size at every point: Cube3D size 1 with scale 50000 is a cube of edge 1 scene
//   unit wherever it is drawn. Swarm positions are scene units as the generators make them (MakeSphereSwarm
//   with radius 5 puts its points 5 units from the centre), not thousandths.
// - `scale` scales the group: the spacing of the points and the children alike, so it never changes how big
//   the children look next to the spacing. Size them with their own effect's scale. The swarm's per-point
//   orientations (OrientSwarmRandom, ResizeSwarmRandom) and the extra scale each multiply a child's matrix
//   once.
VORTEL_EXPORT bool MakeSwarmGroup(StateStruct* state, void** privateData, int32_t name, int32_t swarm,
                                  int32_t x, int32_t y, int32_t z, int32_t qa, int32_t qb, int32_t qc,
                                  int32_t qd, int32_t scale, int32_t parent, int32_t showMarker,
                                  int32_t count, int32_t first, int32_t timeStep);

// Running calls hang group `source` into each of target0 .. target11, up to the first index <= 0.
VORTEL_EXPORT bool CopyGroupToGroups(StateStruct* state, void** privateData, int32_t source, int32_t target0,
                                     int32_t target1, int32_t target2, int32_t target3, int32_t target4,
                                     int32_t target5, int32_t target6, int32_t target7, int32_t target8,
                                     int32_t target9, int32_t target10, int32_t target11);
