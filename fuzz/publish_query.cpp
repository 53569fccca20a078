// The score server's decoder of a publish query on arbitrary bytes. Whatever it accepts must be a
// result the game could have sent: fields in range, and encoding its record again gives back exactly
// the digits, so one result has one query and storing by digits stores it once.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/PublishCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view digits(reinterpret_cast<const char*>(data), size);
    const publish::Decoded decoded = publish::Decode(digits);
    if (!decoded.ok()) return 0;
    const publish::PublishedResult& r = decoded.result;
    if (r.score < 0 || r.score > publish::kMaxScore || r.skill < 0 || r.skill > 2 || r.name.empty() ||
        r.name.size() > publish::kMaxNameBytes)
        std::abort();
    if (publish::Encode(publish::RecordText(r.score, std::to_string(r.skill + 1), r.name)) != digits) std::abort();
    return 0;
}
