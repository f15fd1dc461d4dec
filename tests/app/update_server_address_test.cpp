// Which "Update_Server" texts name a server, and the address asked.

#include <gtest/gtest.h>

#include "app/update/update_server_address.h"

namespace vantic::testing {
namespace {

TEST(UpdateServerSetting, TextsThatNameAServerAndTextsThatDoNot) {
    const struct {
        const char* text;
        const char* url;  // nullptr: reported, never asked
    } cases[] = {
        {"", "https://updates.vantic-signage.example:443/x"},
        {"mirror.example.org", "https://mirror.example.org:443/x"},
        {"mirror.example.org:8443", "https://mirror.example.org:8443/x"},
        {"127.0.0.1:65535", "https://127.0.0.1:65535/x"},
        {"[::1]", "https://[::1]:443/x"},
        {"[::1]:8443", "https://[::1]:8443/x"},
        {"[2001:db8::5]:1", "https://[2001:db8::5]:1/x"},
        {"::1", nullptr},
        {"[::1", nullptr},
        {"[::1]8443", nullptr},
        {"[mirror]:8443", nullptr},
        {"mirror:0", nullptr},
        {"mirror:65536", nullptr},
        {"mirror:+80", nullptr},
        {"mirror:", nullptr},
        {":443", nullptr},
        {"mirror.example.org/path", nullptr},
        {"user@mirror", nullptr},
        {"-mirror", nullptr},
        {"mirror..example", nullptr},
        {"https://mirror", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<UpdateServer> server = ParseUpdateServer(c.text);
        ASSERT_EQ(server.has_value(), c.url != nullptr);
        if (server) {
            EXPECT_EQ(UpdateUrl(*server, "x"), c.url);
        }
    }
}

}  // namespace
}  // namespace vantic::testing
