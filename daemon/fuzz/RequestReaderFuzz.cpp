// Feeds arbitrary streams to the request reader, whole and in pieces, and checks what it decides
// against the protocol's rules.
#include "FuzzInput.h"
#include "daemon/RequestReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Feeds `data` in pieces of `piece` bytes until the reader stops wanting more.
std::size_t FeedInPieces(Vcd::RequestReader& reader, const unsigned char* data, std::size_t size,
                         std::size_t piece)
{
    std::size_t taken = 0;
    while (taken < size && reader.state() == Vcd::RequestReader::State::NeedMore) {
        Require(reader.wanted() > 0);
        const std::size_t offered = std::min(piece, size - taken);
        const std::size_t took = reader.feed(data + taken, offered);
        // It takes everything offered until the request is decided, and nothing after that.
        Require(took <= offered);
        Require(took == offered || reader.state() != Vcd::RequestReader::State::NeedMore);
        taken += took;
    }
    return taken;
}

bool MatchesSomeCommand(std::string_view text)
{
    for (const Vcd::Command& command : Vcd::Commands()) {
        if (command.line.size() == text.size() &&
            std::memcmp(command.line.data(), text.data(), text.size()) == 0)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t inputSize)
{
    if (inputSize == 0)
        return 0;
    const std::size_t piece = VcdFuzz::PieceSize(input[0]);
    const unsigned char* data = input + 1;
    const std::size_t size = inputSize - 1;

    Vcd::RequestReader whole;
    const std::size_t takenWhole = whole.feed(data, size);
    Vcd::RequestReader pieces;
    const std::size_t takenPieces = FeedInPieces(pieces, data, size, piece);

    // How the bytes arrive must not change what is decided.
    Require(takenWhole == takenPieces);
    Require(whole.state() == pieces.state());
    Require(whole.refusal() == pieces.refusal());
    Require(whole.command() == pieces.command());

    using State = Vcd::RequestReader::State;
    if (whole.state() == State::NeedMore) {
        Require(takenWhole == size && whole.wanted() > 0 && whole.command() == nullptr);
        return 0;
    }
    Require(whole.wanted() == 0);
    std::uint32_t n = 0;
    std::memcpy(&n, data, sizeof n);
    Require(whole.declaredLength() == n);
    if (whole.refusal() == Vcd::Refusal::BadLength) {
        Require(whole.state() == State::Refused && takenWhole == 4);
        Require(n == 0 || n > Vcd::MaxRequestLength);
        return 0;
    }
    // Every other decision comes after exactly the whole request, and nothing of what follows.
    Require(n >= 1 && n <= Vcd::MaxRequestLength && takenWhole == 4 + std::size_t{n});
    const std::string_view text(reinterpret_cast<const char*>(data + 4), n - 1);
    const bool finalNul = data[4 + n - 1] == 0;
    if (whole.state() == State::Complete) {
        Require(whole.refusal() == Vcd::Refusal::None && whole.command() != nullptr);
        Require(finalNul && whole.command()->line == text);
    } else {
        Require(whole.command() == nullptr);
        Require(whole.refusal() == (finalNul ? Vcd::Refusal::UnknownCommand : Vcd::Refusal::NoFinalNul));
        Require(!finalNul || !MatchesSomeCommand(text));
    }
    return 0;
}
