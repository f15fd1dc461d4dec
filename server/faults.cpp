#include "server/faults.h"

#include <algorithm>
#include <cstdio>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

struct ModeInfo {
    FaultMode mode;
    std::string_view name;
    bool takesSeconds;
    int defaultSeconds;
    std::string_view help;
};

constexpr ModeInfo kModes[] = {
    {FaultMode::NoNonce, "no-nonce", true, 60,
     "never send the greeting nonce; hold the connection until the client\n"
     "gives up (at most SECONDS, default 60)"},
    {FaultMode::CloseBeforeNonce, "close-before-nonce", false, 0,
     "close each connection before the nonce is sent"},
    {FaultMode::Status1, "status-1", false, 0, "downloads reply with status 1 (a refusal)"},
    {FaultMode::Oversize, "oversize", false, 0,
     "downloads announce a 20,000,001-byte body, then close"},
    {FaultMode::BadEnvelope, "bad-envelope", false, 0,
     "download bodies are sealed under a wrong key, so they do not open"},
    {FaultMode::Absent, "absent", false, 0, "every download answers 0xFFFFFFFF (nothing stored)"},
    {FaultMode::CutBody, "cut-body", false, 0, "downloads close after half of the body"},
    {FaultMode::StallBeforeBody, "stall-before-body", true, 35,
     "downloads wait SECONDS (default 35) between the reply header and the\nbody"},
    {FaultMode::StallDuringBody, "stall-during-body", true, 35,
     "downloads send half the body, wait SECONDS (default 35), then the rest"},
    {FaultMode::RefuseUpload, "refuse-upload", false, 0,
     "uploads (instruction file, owner table, media) are read but not\n"
     "stored, and the connection closes without a reply word"},
    {FaultMode::StallReply, "stall-reply", true, 35,
     "uploads and media queries wait SECONDS (default 35) before their\nreply word"},
};

const ModeInfo* FindMode(std::string_view name) {
    for (const ModeInfo& info : kModes) {
        if (info.name == name) {
            return &info;
        }
    }
    return nullptr;
}

const ModeInfo& InfoOf(FaultMode mode) {
    for (const ModeInfo& info : kModes) {
        if (info.mode == mode) {
            return info;
        }
    }
    return kModes[0];
}

bool IsNumber(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ReadCommands(std::string_view text, Fault& fault, std::string& error) {
    for (const std::string& piece : cpStringArray::SplitNew(text, ",")) {
        std::string_view code = TrimmedView(piece);
        if (!IsNumber(code)) {
            error = "bad command code \"" + std::string(code) + "\"";
            return false;
        }
        fault.commands.push_back(static_cast<std::int32_t>(LeadingInteger(code)));
    }
    return true;
}

std::vector<Fault> ParseControlText(std::string_view text, std::string& problems) {
    std::vector<Fault> faults;
    cpStringArray lines;
    lines.SplitLines(text);
    for (const std::string& line : lines) {
        std::string_view spec = TrimmedView(line);
        if (spec.empty() || spec.front() == '#') {
            continue;
        }
        std::string error;
        if (std::optional<Fault> fault = ParseFault(spec, error)) {
            faults.push_back(*fault);
        } else {
            problems += "  " + std::string(spec) + ": " + error + "\n";
        }
    }
    return faults;
}

}  // namespace

bool Fault::AppliesTo(std::int32_t command) const {
    return commands.empty() || command < 0 ||
           std::find(commands.begin(), commands.end(), command) != commands.end();
}

std::optional<Fault> ParseFault(std::string_view text, std::string& error) {
    std::string_view spec = TrimmedView(text);
    Fault fault;
    std::size_t at = spec.find('@');
    if (at != std::string_view::npos) {
        if (!ReadCommands(spec.substr(at + 1), fault, error)) {
            return std::nullopt;
        }
        spec = spec.substr(0, at);
    }
    std::size_t equals = spec.find('=');
    const ModeInfo* info = FindMode(spec.substr(0, equals));
    if (info == nullptr) {
        error = "unknown fault mode \"" + std::string(spec.substr(0, equals)) + "\"";
        return std::nullopt;
    }
    fault.mode = info->mode;
    fault.seconds = info->defaultSeconds;
    if (equals != std::string_view::npos) {
        std::string_view seconds = spec.substr(equals + 1);
        if (!info->takesSeconds || !IsNumber(seconds)) {
            error = "fault \"" + std::string(info->name) + "\" takes no value \"" +
                    std::string(seconds) + "\"";
            if (info->takesSeconds) {
                error = "bad number of seconds \"" + std::string(seconds) + "\"";
            }
            return std::nullopt;
        }
        fault.seconds = static_cast<int>(LeadingInteger(seconds));
    }
    return fault;
}

std::string FaultName(const Fault& fault) {
    const ModeInfo& info = InfoOf(fault.mode);
    std::string name(info.name);
    if (info.takesSeconds) {
        name += "=" + std::to_string(fault.seconds);
    }
    for (std::size_t i = 0; i < fault.commands.size(); ++i) {
        name += (i == 0 ? "@" : ",") + std::to_string(fault.commands[i]);
    }
    return name;
}

std::string FaultHelp() {
    std::string text;
    for (const ModeInfo& info : kModes) {
        std::string name(info.name);
        if (info.takesSeconds) {
            name += "[=SECONDS]";
        }
        std::string help(info.help);
        ReplaceAll(help, "\n", "\n      ");
        text += "  " + name + "\n      " + help + "\n";
    }
    return text;
}

const Fault* FaultSet::Find(FaultMode mode, std::int32_t command) const {
    for (const Fault& fault : faults_) {
        if (fault.mode == mode && fault.AppliesTo(command)) {
            return &fault;
        }
    }
    return nullptr;
}

FaultSource::FaultSource(std::vector<Fault> fixed, std::string controlFile)
    : fixed_(std::move(fixed)), controlFile_(std::move(controlFile)) {}

FaultSet FaultSource::Current() {
    std::vector<Fault> faults = fixed_;
    if (controlFile_.empty()) {
        return FaultSet(std::move(faults));
    }
    std::optional<std::string> text = ReadWholeFile(controlFile_);
    std::lock_guard<std::mutex> hold(lock_);
    if (text != lastText_) {
        std::string problems;
        fileFaults_ = ParseControlText(text.value_or(""), problems);
        lastText_ = std::move(text);
        if (!problems.empty()) {
            std::fprintf(stderr, "vantic-server: ignored lines of %s:\n%s", controlFile_.c_str(),
                         problems.c_str());
        }
    }
    faults.insert(faults.end(), fileFaults_.begin(), fileFaults_.end());
    return FaultSet(std::move(faults));
}

}  // namespace vantic::server
