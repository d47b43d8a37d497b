#include "CommandLine.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace fareboard {

std::optional<int> answerCommandLine(int argc, char** argv)
{
    const std::string name = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "fareboard";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", name.c_str(), FAREBOARD_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Usage: %s [--help] [--version]\n"
                        "\n"
                        "The fare board of a Japanese route bus and the driver's console\n"
                        "(集中操作盤) that drives it. Everything is set in the options (オプション)\n"
                        "and kept in %s.in4 beside the program, or in ~/.config/%s/ when\n"
                        "that folder is not writable. Ctrl+Q on the console ends the program,\n"
                        "as closing it does.\n"
                        "\n"
                        "  --help     show this and end\n"
                        "  --version  show the version and end\n",
                        name.c_str(), name.c_str(), name.c_str());
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace fareboard
