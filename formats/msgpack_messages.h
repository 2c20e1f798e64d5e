// The texts of the MessagePack reader. Positions count from 0 at the first byte.
#pragma once

namespace zun {

// %1: the position after the type byte.
inline constexpr const char* kMessagePackInvalidType = "Invalid MessagePack data at position %1.";
// %1: the position after the key's type byte.
inline constexpr const char* kMessagePackKeyNotString =
    "Invalid MessagePack data at position %1. Map keys must be strings.";
// %1: the position after the container's type byte; %2: the limit.
inline constexpr const char* kMessagePackTooDeep =
    "Invalid MessagePack data at position %1. Nesting is deeper than the limit of %2 levels.";
// %1: the position where the missing value starts.
inline constexpr const char* kMessagePackTruncated8 =
    "Invalid MessagePack data. 8-bit integer value at position %1 is truncated.";
inline constexpr const char* kMessagePackTruncated16 =
    "Invalid MessagePack data. 16-bit integer value at position %1 is truncated.";
inline constexpr const char* kMessagePackTruncated32 =
    "Invalid MessagePack data. 32-bit integer value at position %1 is truncated.";
inline constexpr const char* kMessagePackTruncated64 =
    "Invalid MessagePack data. 64-bit integer value at position %1 is truncated.";
// %1: the declared length; %2: the position where the bytes start.
inline constexpr const char* kMessagePackStringTruncated =
    "Invalid MessagePack data. String of size %1 at position %2 is truncated.";
inline constexpr const char* kMessagePackBlobTruncated =
    "Invalid MessagePack data. Raw bytes of size %1 at position %2 are truncated.";

// What the caller reports when bytes follow the body's value.
inline constexpr const char* kMessagePackExtraData = "Extra MessgePack data found in body";

}  // namespace zun
