#pragma once

// The commands a controller sends to the distribution server, one per
// connection, and the fixed values of that exchange.

#include <cstddef>
#include <cstdint>

namespace vantic {

// The code travels as a signed 32-bit word.
enum class ServerCommand : std::int32_t {
    QueryMedia = 0,          // digest; the server answers one word, nonzero when it holds it
    GetInstructionFile = 2,  // unit; the unit's instruction file (entry text)
    GetPlaylistInfo = 3,     // unit; the playlists the unit reported (entry text)
    GetRuntimeReport = 4,    // unit; proof-of-runtime counts (entry text)
    GetTimingInfo = 5,       // unit; five timing words (net/timing_info.h)
    GetUnitInfo = 6,         // unit; key=value record of the unit
    PutMedia = 7,            // digest; the file's bytes, not encrypted
    PutInstructionFile = 8,  // unit; the unit's instruction file
    GetUnitList = 17,        // lines of tab-separated unit fields
    GetOwnerMap = 18,        // key=value record: unit number = owner
    PutOwnerMap = 19,        // the same record after changes
};

// The unit field of a command that concerns no single unit.
inline constexpr std::int32_t kNoUnit = -1;

// The server's TCP port. A host text may name another one as "HOST:PORT"
// (see net/server_address.h).
inline constexpr std::uint16_t ServerPort = 12322;

inline constexpr std::size_t kNonceSize = 16;
inline constexpr std::size_t kLoginHeaderSize = 92;
inline constexpr std::size_t kLoginRecordSize = 108;
inline constexpr std::size_t kLoginBlockSize = 129;
// Login name and password fields: at most 23 characters and a NUL.
inline constexpr std::size_t kLoginFieldSize = 24;
// Bytes moved per piece, each piece under its own time limit.
inline constexpr std::size_t kPieceSize = 4096;
// The largest download body accepted.
inline constexpr std::uint32_t kMaxDownloadLength = 20'000'000;
// The length word of a download whose request the server holds nothing for.
inline constexpr std::uint32_t kAbsentLength = 0xFFFFFFFF;

}  // namespace vantic
