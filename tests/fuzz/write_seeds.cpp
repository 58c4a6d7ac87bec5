// Writes each hostile settings file the tests know into the directory given,
// one file per case, as seeds for the fuzzer.
#include <cstdio>
#include <string>

#include "tests/support/settings_bytes.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds DIR\n");
        return 2;
    }
    int written = 0;
    for (const testing_support::HostileFile& c : testing_support::HostileSettingsFiles()) {
        std::string name = c.what;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        if (!testing_support::WriteFileBytes(std::string(argv[1]) + "/" + name + ".use", c.file.bytes)) {
            std::fprintf(stderr, "write_seeds: cannot write %s\n", name.c_str());
            return 1;
        }
        ++written;
    }
    std::printf("%d\n", written);
    return 0;
}
