#include "tools/assetgen/IniText.h"

namespace assetgen {

std::string SettingsFileText() {
    return R"(; Quillmoss.ini: tuning values of the pond. Every key is optional; the value shown is the
; default the game uses when the key is missing. Times in ms, "frames" are frame steps (50 a second).
; "Scaled" values grow with the difficulty level (the level number plus 4 on Expert, 9 on Master).
; Where a comment gives a range, the game holds the value to it when it takes it, so the pond stays
; playable; the file itself is read as written.

[Game]
; islands placed at the start of each level; range 2..12
MaxIslandNumbers=6
; read, no effect on play
ScoreForBonus=10
; read, no effect on play
ScoreForChangeLevel=50

[Leaves]
; islands and leaves together per level, leaves coming up until this many are out; range MaxIslandNumbers..96
MaxLeavesPerScreen=35
; shortest time a sinking leaf shows each of its pictures, ms (scaled by MinAniLeaveRate)
MinAniVelocLeav=800
; longest time a sinking leaf shows each of its pictures, ms (scaled by MaxAniLeaveRate)
MaxAniVelocLeav=1500
; how long a fresh leaf rests fully open before it starts to sink, ms (scaled by LeaveDeclineRate)
DeclineSuspendTime=2000
; island sinking step time per place in the sinking order, ms (scaled by IslandMeltRate)
IslandMeltTime=1000
; time between two new leaves coming up, ms
TimeAppOfNewLeave=200

[Frogs]
; frogs (lives) kept by the game: start lives on Novice, 2 fewer on Expert, 4 fewer on Master; range 1..12
MaxFrogNumber=8
; at most this many red frogs on the pond; range 0..6
MaxBadFrogNumber=3
; frames between two red-frog arrivals (scaled by AppBadFrogRate)
TimeAppOfBadFrog=150
; read, no effect on play
FrogVeloc=80
; read, no effect on play
FrogReincarnVeloc=80
; a red frog leaves a leaf with this many pictures or fewer left (scaled by AgressionRate, at most 9)
FramesForFrogLeap=6
; a red frog only jumps to a leaf with more than this many pictures left
FramesEnoughForSitting=5
; shortest stay of a red frog on a leaf, ms
TimeSuspendOnLeave=300
; read, no effect on play
FramesForIslandLeap=2
; frames the game stands still while a drowned frog fades out
DeadTimeExtend=300
; replaced by a value derived from the difficulty level; this one has no effect
ChanceForLeap=2
; red-frog randomness of the moment it leaves a leaf
ChanceForFrame=3

[Flyes]
; flies created; the number flying in a level starts here (scaled by FlyNumberRate, at least 2); range 0..12
FlyNumber=6
; suns created; range 0..6
SunNumber=3
; read, no effect on play
FlyVelocity=50
; a fly takes off from a leaf with this many pictures or fewer left
FramesForFlyLeap=3

[Waves]
; a ripple shows on a leaf with this many pictures plus one or fewer left
FrameBeforeWaveApp=1

[Rates]
; read, no effect on play
IslandRate=0
; added per difficulty level to MinAniVelocLeav
MinAniLeaveRate=0
; added per difficulty level to MaxAniVelocLeav
MaxAniLeaveRate=0
; read, no effect on play
NiceFrogRate=-0.4
; read, no effect on play
BadFrogRate=0.4
; added per difficulty level to TimeAppOfBadFrog
AppBadFrogRate=0
; added per difficulty level to the number of flies flying
FlyNumberRate=0
; read, no effect on play
SunNumberRate=0.2
; added per difficulty level above 1 to IslandMeltTime
IslandMeltRate=300
; added per difficulty level to FramesForFrogLeap
AgressionRate=0.25
; added per difficulty level to DeclineSuspendTime
LeaveDeclineRate=-70

[Links]
; the page the Games button opens; the game appends "?r=qmw&a=avp"
GamesPage=https://marshwade.org/games.html
; the host the score table's Publish button sends results to; the game appends "/cgi-bin/gameres.pl?e=" and the digits
ScoresPage=https://marshwade.org
)";
}

}  // namespace assetgen
