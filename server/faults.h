#pragma once

// Misbehaviour on demand, for the controller's integration tests. A fault
// is written MODE[=SECONDS][@CMD[,CMD...]]: the mode, a number of seconds
// for the modes that wait, and optionally the command codes it applies to
// (every command when none are given). Faults come from the command line
// and from a control file that is read again for every connection, so one
// running server can switch faults between tests.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::server {

enum class FaultMode {
    NoNonce,           // never send the greeting; hold the connection
    CloseBeforeNonce,  // close as soon as the connection is accepted
    Status1,           // downloads answer status 1
    Oversize,          // downloads announce 20,000,001 bytes
    BadEnvelope,       // download bodies do not open under the session key
    Absent,            // every download answers "nothing stored"
    CutBody,           // downloads close halfway through the body
    StallBeforeBody,   // downloads wait SECONDS between header and body
    StallDuringBody,   // downloads wait SECONDS in the middle of the body
    RefuseUpload,      // uploads are read, not stored, and get no reply word
    StallReply,        // uploads and media queries wait SECONDS before replying
};

struct Fault {
    FaultMode mode = FaultMode::Absent;
    int seconds = 0;
    std::vector<std::int32_t> commands;  // empty: every command

    [[nodiscard]] bool AppliesTo(std::int32_t command) const;
};

// Reads one fault; nothing (with a reason in error) when it is not valid.
[[nodiscard]] std::optional<Fault> ParseFault(std::string_view text, std::string& error);
[[nodiscard]] std::string FaultName(const Fault& fault);
// One line per mode, for --help.
[[nodiscard]] std::string FaultHelp();

class FaultSet {
  public:
    FaultSet() = default;
    explicit FaultSet(std::vector<Fault> faults) : faults_(std::move(faults)) {}

    // The first fault of mode that applies to command, or null. Connection
    // faults pass the command as -1 and match whatever their filter says.
    [[nodiscard]] const Fault* Find(FaultMode mode, std::int32_t command) const;
    [[nodiscard]] bool Empty() const { return faults_.empty(); }

  private:
    std::vector<Fault> faults_;
};

// Fixed faults plus those of an optional control file (one fault per line,
// "#" comments, blank lines ignored; a missing file means none).
class FaultSource {
  public:
    FaultSource(std::vector<Fault> fixed, std::string controlFile);

    // The faults in force now. Bad lines of the control file are skipped
    // and reported once per change of the file on standard error.
    [[nodiscard]] FaultSet Current();

  private:
    std::vector<Fault> fixed_;
    std::string controlFile_;
    std::mutex lock_;
    std::optional<std::string> lastText_;
    std::vector<Fault> fileFaults_;
};

}  // namespace vantic::server
