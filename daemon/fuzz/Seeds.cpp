// Writes one seed per known command into the directory given: a piece selector, then the request.
#include "daemon/CommandTable.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: request_reader_seeds DIRECTORY\n");
        return 2;
    }
    int index = 0;
    for (const Vcd::Command& command : Vcd::Commands()) {
        const auto n = static_cast<std::uint32_t>(command.line.size() + 1);
        std::ofstream seed(std::string(argv[1]) + "/seed-" + std::to_string(index++), std::ios::binary);
        seed.put(static_cast<char>(index * 3));
        seed.write(reinterpret_cast<const char*>(&n), sizeof n);
        seed.write(command.line.data(), static_cast<std::streamsize>(command.line.size()));
        seed.put('\0');
        if (!seed)
            return 1;
    }
    return 0;
}
