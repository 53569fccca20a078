// The copy operations of the pond's creatures: the clips cloned by OClipBucks, then each kind's own
// fields.
#include "game/OFly.h"
#include "game/OFrog.h"
#include "game/OLeave.h"

void OLeave::CopyLeaf(const OLeave& prototype) {
    CopyFrom(prototype);
    state = prototype.state;
    shortestFrameTime = prototype.shortestFrameTime;
    longestFrameTime = prototype.longestFrameTime;
}

void OFrog::CopyFrog(const OFrog& prototype) {
    CopyFrom(prototype);
    hopSpeed = prototype.hopSpeed;
    leapSpeed = prototype.leapSpeed;
    state = prototype.state;
}

void OFly::CopyFly(const OFly& prototype) {
    CopyFrom(prototype);
    speed = prototype.speed;
    state = prototype.state;
    kind = prototype.kind;
    points = prototype.points;
    turn = prototype.turn;
}
