#pragma once

#include <string>

namespace vantic {

// What every request to the distribution server carries: where the server
// is, who logs in, and the key that seals the login.
struct ServerAccess {
    std::string host;         // a name or dotted IPv4 address, optionally ":PORT"
    std::string loginName;    // at most 23 characters
    std::string password;     // at most 23 characters
    std::string keyFilePath;  // the server's public key file ("p.key" beside the program)
};

}  // namespace vantic
