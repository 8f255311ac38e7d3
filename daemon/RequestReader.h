// Turns the bytes of one request, as they arrive, into a known command or a refusal.
//
// Pure and allocation-free: the reader owns a fixed buffer of the largest request it accepts, and
// it never takes a byte beyond the end of the request it is reading.
#pragma once

#include "CommandTable.h"
#include "Protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Vcd {

enum class Refusal
{
    None,
    BadLength,      // n is 0 or above MaxRequestLength
    NoFinalNul,     // the last of the n bytes is not a NUL
    UnknownCommand, // the text is not one of the table's lines
};

class RequestReader
{
public:
    enum class State
    {
        NeedMore,
        Complete,
        Refused,
    };

    // How many more bytes belong to this request (0 once it is complete or refused). Reading no
    // more than this from the socket keeps the reader from ever seeing the next bytes.
    std::size_t wanted() const;

    // Takes up to wanted() bytes of `data`; returns how many it took.
    std::size_t feed(const unsigned char* data, std::size_t size);

    State state() const { return state_; }
    const Command* command() const { return command_; }
    Refusal refusal() const { return refusal_; }
    // The length word as sent; meaningful once the first four bytes are in.
    std::uint32_t declaredLength() const { return length_; }

private:
    void headerComplete();
    void bodyComplete();

    State state_ = State::NeedMore;
    Refusal refusal_ = Refusal::None;
    const Command* command_ = nullptr;
    std::array<unsigned char, LengthWordSize> header_{};
    std::size_t headerFill_ = 0;
    std::uint32_t length_ = 0;
    std::array<char, MaxRequestLength> body_{};
    std::size_t bodyFill_ = 0;
};

const char* RefusalText(Refusal refusal);

} // namespace Vcd
