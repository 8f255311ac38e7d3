// The user behind a user id. The ids of a subordinate range (/etc/subuid, the ranges newuidmap
// hands out for user namespaces) belong to the range's owner, so one user holds the same share of
// the daemon whether they come with their own id or with every id of their range.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Vcd {

inline constexpr const char* SubordinateUids = "/etc/subuid";

// Used by the event loop alone.
class RealUsers
{
public:
    explicit RealUsers(std::string path = SubordinateUids) : path_(std::move(path)) {}

    // The owner of the range that holds `uid`, else `uid` itself. The file is read again whenever
    // it has changed, so a range given out while we run counts from the next connection on.
    uid_t Of(uid_t uid);

private:
    struct Range
    {
        std::uint64_t first;
        std::uint64_t end;
        uid_t owner;
    };

    void ReadIfChanged();

    std::string path_;
    std::vector<Range> ranges_;
    // The file as it was when last read; a missing file reads as no ranges.
    ino_t inode_ = 0;
    off_t size_ = -1;
    timespec changed_{};
};

} // namespace Vcd
