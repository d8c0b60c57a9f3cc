// Records are their bytes. A field is a typed view at a fixed offset: little-endian integers and
// doubles copied in and out with memcpy, fixed-width strings, lists of record numbers. Bytes that
// no field names are never touched, so the bytes the editor does not understand survive a save.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "database/records/text.h"

namespace vh::db {

static_assert(std::endian::native == std::endian::little ||
              std::endian::native == std::endian::big);

namespace detail {
template <class T>
T LoadLE(const std::uint8_t* p) {
    std::array<std::uint8_t, sizeof(T)> b;
    std::memcpy(b.data(), p, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(b.begin(), b.end());
    T v;
    std::memcpy(&v, b.data(), sizeof(T));
    return v;
}
template <class T>
void StoreLE(std::uint8_t* p, T v) {
    std::array<std::uint8_t, sizeof(T)> b;
    std::memcpy(b.data(), &v, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(b.begin(), b.end());
    std::memcpy(p, b.data(), sizeof(T));
}
}  // namespace detail

template <class T>
struct Scalar {
    using Value = T;
    std::size_t offset;
    T Read(const std::uint8_t* rec) const { return detail::LoadLE<T>(rec + offset); }
    void Write(std::uint8_t* rec, T v) const { detail::StoreLE<T>(rec + offset, v); }
};

using I32 = Scalar<std::int32_t>;
using I16 = Scalar<std::int16_t>;
using U8 = Scalar<std::uint8_t>;
using F64 = Scalar<double>;

// A FixedString field (cp1252 bytes).
struct Str {
    using Value = std::string;
    std::size_t offset;
    std::size_t width;
    std::string Read(const std::uint8_t* rec) const {
        return ReadFixed(std::span<const std::uint8_t>(rec + offset, width));
    }
    void Write(std::uint8_t* rec, std::string_view v) const {
        WriteFixed(std::span<std::uint8_t>(rec + offset, width), v);
    }
    // The raw bytes, for comparisons over the whole width.
    std::string_view Bytes(const std::uint8_t* rec) const {
        return {reinterpret_cast<const char*>(rec + offset), width};
    }
};

// N consecutive record numbers (-1 = empty slot).
template <std::size_t N>
struct I32Array {
    std::size_t offset;
    static constexpr std::size_t kCount = N;
    constexpr I32 operator[](std::size_t i) const { return I32{offset + 4 * i}; }
};

template <std::size_t N>
struct Record {
    static constexpr std::size_t kSize = N;
    std::array<std::uint8_t, N> bytes{};

    template <class F>
    auto Get(const F& f) const {
        return f.Read(bytes.data());
    }
    template <class F, class V>
    void Set(const F& f, const V& v) {
        f.Write(bytes.data(), v);
    }
    std::uint8_t* data() { return bytes.data(); }
    const std::uint8_t* data() const { return bytes.data(); }
    friend bool operator==(const Record&, const Record&) = default;
};

}  // namespace vh::db
