#include "RealUsers.h"

#include <charconv>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <vector>

namespace Vcd {
namespace {

bool ParseNumber(std::string_view text, std::uint64_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// An owner is written as a login name or as a uid.
bool OwnerUid(const std::string& owner, uid_t& uid)
{
    std::uint64_t number = 0;
    if (ParseNumber(owner, number)) {
        uid = static_cast<uid_t>(number);
        return number == uid;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwnam_r(owner.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return false;
    uid = found->pw_uid;
    return true;
}

} // namespace

uid_t RealUsers::Of(uid_t uid)
{
    ReadIfChanged();
    for (const Range& range : ranges_) {
        if (uid >= range.first && uid < range.end)
            return range.owner;
    }
    return uid;
}

void RealUsers::ReadIfChanged()
{
    struct stat info = {};
    if (::stat(path_.c_str(), &info) != 0)
        info = {};
    if (info.st_ino == inode_ && info.st_size == size_ && info.st_ctim.tv_sec == changed_.tv_sec &&
        info.st_ctim.tv_nsec == changed_.tv_nsec)
        return;
    inode_ = info.st_ino;
    size_ = info.st_size;
    changed_ = info.st_ctim;
    ranges_.clear();
    // "owner:first:count" a line; lines of another shape are skipped, as newuidmap skips them.
    std::ifstream file(path_);
    for (std::string line; std::getline(file, line);) {
        const auto first = line.find(':');
        const auto count = line.find(':', first + 1);
        Range range{};
        std::uint64_t size = 0;
        if (first == std::string::npos || count == std::string::npos ||
            !ParseNumber(std::string_view(line).substr(first + 1, count - first - 1), range.first) ||
            !ParseNumber(std::string_view(line).substr(count + 1), size) ||
            !OwnerUid(line.substr(0, first), range.owner))
            continue;
        range.end = range.first + size;
        ranges_.push_back(range);
    }
}

} // namespace Vcd
