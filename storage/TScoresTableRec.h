#pragma once
#include <string>

// One result of the high-score table. The score is not stored here: it is the key under which the
// table holds the record.
struct TScoresTableRec {
    std::string date;   // local date of the result, "%d-%d-%d" (year, month, day), e.g. "2004-7-5"
    std::string name;   // the player's name as entered, or "Anonymous"
    std::string skill;  // skill index plus one as text: "1" Novice, "2" Expert, "3" Master
};
