#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace platform {

// Little-endian reads at absolute offsets of an untrusted byte span. Every read checks that all of
// its bytes lie inside the span (with overflow-safe arithmetic) and reports false instead of
// reading past the end. The one reader of every file format the game takes in: sounds here,
// clips, pictures and picture sheets in graphics/.
class ByteSpan {
  public:
    explicit ByteSpan(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Size() const { return bytes_.size(); }
    // True when [offset, offset + count) lies inside the span.
    bool Holds(uint64_t offset, uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    // The sub-span [offset, offset + count), or an empty span when it does not fit.
    std::span<const uint8_t> Sub(uint64_t offset, uint64_t count) const {
        if (!Holds(offset, count)) return {};
        return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
    }

    bool U8(uint64_t offset, uint8_t& out) const { return Read(offset, out); }
    bool U16(uint64_t offset, uint16_t& out) const { return Read(offset, out); }
    bool I16(uint64_t offset, int16_t& out) const { return Read(offset, out); }
    bool U32(uint64_t offset, uint32_t& out) const { return Read(offset, out); }
    bool I32(uint64_t offset, int32_t& out) const { return Read(offset, out); }
    bool F32(uint64_t offset, float& out) const { return Read(offset, out); }
    bool F64(uint64_t offset, double& out) const { return Read(offset, out); }

  private:
    static_assert(std::endian::native == std::endian::little, "the file formats are little-endian");

    template <typename T>
    bool Read(uint64_t offset, T& out) const {
        if (!Holds(offset, sizeof(T))) return false;
        std::memcpy(&out, bytes_.data() + offset, sizeof(T));
        return true;
    }

    std::span<const uint8_t> bytes_;
};

}  // namespace platform
