// vanticctl: the distribution server from the command line, for operators
// who script their venue and for checking the link by hand. It logs in as
// the controller does, with the controller's settings unless told
// otherwise; see `vanticctl --help`.

#include <cstdio>
#include <string>
#include <vector>

#include "tools/vanticctl/ctl_commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string out;
    std::string err;
    int code = vantic::ctl::RunCtl(arguments, out, err);
    if (!out.empty() && std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) {
        std::fputs("vanticctl: cannot write the output\n", stderr);
        return 1;
    }
    if (std::fflush(stdout) != 0 && code == 0) {
        std::fputs("vanticctl: cannot write the output\n", stderr);
        return 1;
    }
    std::fputs(err.c_str(), stderr);
    return code;
}
