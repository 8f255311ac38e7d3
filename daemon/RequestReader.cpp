#include "RequestReader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Vcd {

std::size_t RequestReader::wanted() const
{
    if (state_ != State::NeedMore)
        return 0;
    if (headerFill_ < header_.size())
        return header_.size() - headerFill_;
    return length_ - bodyFill_;
}

std::size_t RequestReader::feed(const unsigned char* data, std::size_t size)
{
    std::size_t taken = 0;
    while (taken < size && state_ == State::NeedMore) {
        const std::size_t step = std::min(wanted(), size - taken);
        if (headerFill_ < header_.size()) {
            std::memcpy(header_.data() + headerFill_, data + taken, step);
            headerFill_ += step;
            taken += step;
            if (headerFill_ == header_.size())
                headerComplete();
        } else {
            std::memcpy(body_.data() + bodyFill_, data + taken, step);
            bodyFill_ += step;
            taken += step;
            if (bodyFill_ == length_)
                bodyComplete();
        }
    }
    return taken;
}

void RequestReader::headerComplete()
{
    std::memcpy(&length_, header_.data(), sizeof length_); // host byte order, as the client sends it
    if (length_ == 0 || length_ > MaxRequestLength) {
        state_ = State::Refused;
        refusal_ = Refusal::BadLength;
    }
}

void RequestReader::bodyComplete()
{
    if (body_[length_ - 1] != '\0') {
        state_ = State::Refused;
        refusal_ = Refusal::NoFinalNul;
        return;
    }
    // The table's lines hold no NUL, so a text with one inside can never match.
    command_ = FindCommand(std::string_view(body_.data(), length_ - 1));
    if (command_ == nullptr) {
        state_ = State::Refused;
        refusal_ = Refusal::UnknownCommand;
        return;
    }
    state_ = State::Complete;
}

const char* RefusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        return "none";
    case Refusal::BadLength:
        return "length out of range";
    case Refusal::NoFinalNul:
        return "no final NUL";
    case Refusal::UnknownCommand:
        return "unknown command";
    }
    return "?";
}

} // namespace Vcd
