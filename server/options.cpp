#include "server/options.h"

#include "core/cpstring.h"

namespace vantic::server {

namespace {

std::optional<int> Number(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    int value = std::stoi(text);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

class ArgReader {
  public:
    explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
    [[nodiscard]] bool Done() const { return at_ >= args_.size(); }
    const std::string& Next() { return args_[at_++]; }
    // The value of an option; nothing when the line ends.
    std::optional<std::string> Value() {
        if (Done()) {
            return std::nullopt;
        }
        return Next();
    }
    // True when the next word is a further value (not an option).
    [[nodiscard]] bool MoreValues() const { return !Done() && !args_[at_].starts_with("--"); }

  private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
};

bool ReadFaults(ArgReader& reader, ServeOptions& options, std::string& error) {
    std::optional<std::string> first = reader.Value();
    if (!first) {
        error = "--fault needs a mode";
        return false;
    }
    std::string spec = *first;
    for (;;) {
        std::optional<Fault> fault = ParseFault(spec, error);
        if (!fault) {
            return false;
        }
        options.faults.push_back(*fault);
        if (!reader.MoreValues()) {
            return true;
        }
        spec = reader.Next();
    }
}

bool ReadNumberOption(ArgReader& reader, const std::string& name, int low, int high, int& out,
                      std::string& error) {
    std::optional<std::string> text = reader.Value();
    std::optional<int> value = text ? Number(*text, low, high) : std::nullopt;
    if (!value) {
        error = FormatNew("%s needs a whole number from %d to %d", name.c_str(), low, high);
        return false;
    }
    out = *value;
    return true;
}

bool ReadHashIterations(ArgReader& reader, std::uint32_t& out, std::string& error) {
    int iterations = 0;
    if (!ReadNumberOption(reader, "--hash-iterations", static_cast<int>(kMinHashIterations),
                          static_cast<int>(kMaxHashIterations), iterations, error)) {
        return false;
    }
    out = static_cast<std::uint32_t>(iterations);
    return true;
}

bool ReadServeOption(ArgReader& reader, const std::string& name, ServeOptions& options,
                     std::string& error) {
    if (name == "--hash-iterations") {
        return ReadHashIterations(reader, options.hashIterations, error);
    }
    if (name == "--fault") {
        return ReadFaults(reader, options, error);
    }
    if (name == "--no-sync") {
        options.durable = false;
        return true;
    }
    int number = 0;
    if (name == "--simulate") {
        return ReadNumberOption(reader, name, 1, 86400 * 7, options.simulateSeconds, error);
    }
    if (name == "--piece-timeout") {
        return ReadNumberOption(reader, name, 1, 3600, options.limits.pieceSeconds, error);
    }
    if (name == "--media-timeout") {
        return ReadNumberOption(reader, name, 1, 3600, options.limits.mediaSeconds, error);
    }
    if (name == "--uploads-per-account") {
        bool ok = ReadNumberOption(reader, name, 1, 4096, number, error);
        options.uploadsPerAccount = static_cast<std::size_t>(number);
        return ok;
    }
    if (name == "--workers") {
        bool ok = ReadNumberOption(reader, name, 1, 4096, number, error);
        options.maxWorkers = static_cast<std::size_t>(number);
        return ok;
    }
    std::optional<std::string> value = reader.Value();
    if (!value) {
        error = name + " needs a value";
        return false;
    }
    if (name == "--data") {
        options.dataDir = *value;
    } else if (name == "--listen") {
        std::optional<ListenAddress> address = ParseListenAddress(*value, options.listen);
        if (!address) {
            error = "--listen needs ADDR:PORT, not " + *value;
            return false;
        }
        options.listen = *address;
    } else if (name == "--fault-file") {
        options.faultFile = *value;
    } else if (name == "--log") {
        options.logPath = *value;
    } else {
        error = "unknown option " + name;
        return false;
    }
    return true;
}

std::optional<CommandLine> ParseServe(ArgReader& reader, std::string& error) {
    CommandLine line;
    line.action = Action::Serve;
    while (!reader.Done()) {
        const std::string name = reader.Next();
        if (name == "--help" || name == "-h") {
            return CommandLine{};
        }
        if (!ReadServeOption(reader, name, line.serve, error)) {
            return std::nullopt;
        }
    }
    if (line.serve.dataDir.empty()) {
        error = "serve needs --data DIR";
        return std::nullopt;
    }
    return line;
}

std::optional<CommandLine> ParseSeed(ArgReader& reader, std::string& error) {
    CommandLine line;
    line.action = Action::SeedDemo;
    while (!reader.Done()) {
        const std::string word = reader.Next();
        if (word == "--hash-iterations") {
            if (!ReadHashIterations(reader, line.seedHashIterations, error)) {
                return std::nullopt;
            }
        } else if (word.starts_with("--") || !line.seedDir.empty()) {
            error = "seed-demo needs exactly one DIR, not " + word;
            return std::nullopt;
        } else {
            line.seedDir = word;
        }
    }
    if (line.seedDir.empty()) {
        error = "seed-demo needs exactly one DIR";
        return std::nullopt;
    }
    return line;
}

std::optional<AccountVerb> VerbNamed(const std::string& word) {
    if (word == "add") {
        return AccountVerb::Add;
    }
    if (word == "passwd") {
        return AccountVerb::Passwd;
    }
    if (word == "remove") {
        return AccountVerb::Remove;
    }
    if (word == "list") {
        return AccountVerb::List;
    }
    return std::nullopt;
}

bool ReadAccountOption(ArgReader& reader, const std::string& name, AccountCommand& command,
                       std::string& error) {
    if (name == "--hash-iterations" && command.verb != AccountVerb::Remove &&
        command.verb != AccountVerb::List) {
        return ReadHashIterations(reader, command.hashIterations, error);
    }
    if (name == "--allow-short-password" &&
        (command.verb == AccountVerb::Add || command.verb == AccountVerb::Passwd)) {
        command.allowShortPassword = true;
        return true;
    }
    if (name != "--data" && (name != "--units" || command.verb != AccountVerb::Add)) {
        error = "account " + std::string(name.starts_with("--") ? "does not take " : "got ") + name;
        return false;
    }
    std::optional<std::string> value = reader.Value();
    if (!value) {
        error = name + " needs a value";
        return false;
    }
    (name == "--data" ? command.dataDir : command.units) = *value;
    return true;
}

std::optional<CommandLine> ParseAccount(ArgReader& reader, std::string& error) {
    CommandLine line;
    line.action = Action::Account;
    std::optional<AccountVerb> verb = reader.Done() ? std::nullopt : VerbNamed(reader.Next());
    if (!verb) {
        error = "account needs add, passwd, remove or list";
        return std::nullopt;
    }
    AccountCommand& command = line.account;
    command.verb = *verb;
    if (command.verb != AccountVerb::List) {
        if (!reader.MoreValues()) {
            error = "account add, passwd and remove need a LOGIN";
            return std::nullopt;
        }
        command.login = reader.Next();
    }
    while (!reader.Done()) {
        if (!ReadAccountOption(reader, reader.Next(), command, error)) {
            return std::nullopt;
        }
    }
    if (command.dataDir.empty()) {
        command.dataDir = kServiceDataDir;
    }
    return line;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    ArgReader reader(args);
    if (reader.Done()) {
        error = "no command given";
        return std::nullopt;
    }
    const std::string command = reader.Next();
    if (command == "--help" || command == "-h" || command == "help") {
        return CommandLine{};
    }
    if (command == "serve") {
        return ParseServe(reader, error);
    }
    if (command == "seed-demo") {
        return ParseSeed(reader, error);
    }
    if (command == "account") {
        return ParseAccount(reader, error);
    }
    error = "unknown command " + command;
    return std::nullopt;
}

std::string HelpText() {
    return "Usage:\n"
           "  vantic-server seed-demo DIR [--hash-iterations N]\n"
           "  vantic-server serve --data DIR [--listen ADDR:PORT] [--simulate SECONDS]\n"
           "                      [--fault MODE ...] [--fault-file PATH] [--log PATH]\n"
           "                      [--piece-timeout SECONDS] [--media-timeout SECONDS]\n"
           "                      [--workers N] [--uploads-per-account N] [--no-sync]\n"
           "                      [--hash-iterations N]\n"
           "  vantic-server account add LOGIN [--data DIR] [--units 4,9|*] [--hash-iterations N]\n"
           "                            [--allow-short-password]\n"
           "  vantic-server account passwd LOGIN [--data DIR] [--hash-iterations N]\n"
           "                               [--allow-short-password]\n"
           "  vantic-server account remove LOGIN [--data DIR]\n"
           "  vantic-server account list [--data DIR]\n"
           "  vantic-server --help\n"
           "\n"
           "The reference distribution server for Vantic controllers.\n"
           "\n"
           "seed-demo DIR\n"
           "  Creates a demo venue in DIR: the key pair DIR/server.key and DIR/p.key\n"
           "  (put p.key beside the controller), an operator account and the\n"
           "  administrator account \"sovra\", and a dozen units with instruction files,\n"
           "  reports, media and owners. Prints one line per account, the only place\n"
           "  the passwords are ever shown:\n"
           "  account LOGIN PASSWORD\n"
           "\n"
           "serve\n"
           "  Serves the venue in DIR until SIGINT or SIGTERM. Once it accepts\n"
           "  connections it prints \"listening ADDR:PORT\" on standard output.\n"
           "  --data DIR              the data directory (required)\n"
           "  --listen ADDR:PORT      where to listen (default 127.0.0.1:12322); port 0\n"
           "                          picks a free port; 0.0.0.0 listens everywhere\n"
           "  --simulate SECONDS      every SECONDS the online units call in\n"
           "  --fault MODE ...        misbehave as MODE (repeatable, see below)\n"
           "  --fault-file PATH       read further faults from PATH, one per line,\n"
           "                          again for every connection (missing file: none)\n"
           "  --log PATH              the connection log (default DIR/server.log; \"-\"\n"
           "                          for standard error)\n"
           "  --piece-timeout SECONDS time limit per 4096-byte piece (default 30)\n"
           "  --media-timeout SECONDS the same for media upload bodies (default 45)\n"
           "  --workers N             at most N connections served at once (default 256)\n"
           "  --uploads-per-account N at most N media uploads of one account at once\n"
           "                          (default 8); all uploads together leave a worker free\n"
           "  --no-sync               do not wait for the disk after each write\n"
           "  At start the server refuses a server key that other users may read, and\n"
           "  replaces the plain-text passwords of an older accounts.txt with hashes.\n"
           "\n"
           "account\n"
           "  Changes the accounts in DIR/accounts.txt, also while a server runs there\n"
           "  (it sees the change at the next connection). add and passwd read the new\n"
           "  password from the terminal without echo, or the first line of standard\n"
           "  input when that is not a terminal; it is stored only as a salted\n"
           "  PBKDF2-HMAC-SHA256 hash. list shows logins and their units, never\n"
           "  passwords.\n"
           "  --data DIR              the data directory (default " +
           std::string(kServiceDataDir) +
           ",\n"
           "                          the service's)\n"
           "  --units 4,9|*           the units the new account sees (default: none;\n"
           "                          \"sovra\" always sees every unit)\n"
           "  --allow-short-password  accept a password under 10 characters (test venues)\n"
           "  It runs only as the user that owns DIR: runuser -u USER -- vantic-server\n"
           "  account ..., or for the packaged service (a dynamic user) systemd-run\n"
           "  --pipe --wait -p DynamicUser=yes -p StateDirectory=vantic-server\n"
           "  vantic-server account ...\n"
           "\n"
           "--hash-iterations N\n"
           "  PBKDF2 iterations of the password hashes the command writes (default\n"
           "  " +
           std::to_string(kDefaultHashIterations) + ", at least " +
           std::to_string(kMinHashIterations) +
           "); the count is stored with each hash.\n"
           "\n"
           "Fault modes are written MODE[=SECONDS][@CMD[,CMD...]]; with @ they apply\n"
           "only to the listed command codes (e.g. absent@3,4).\n" +
           FaultHelp();
}

}  // namespace vantic::server
