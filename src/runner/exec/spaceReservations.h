#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

// The room that stages running side by side have set aside on each drive, so that two of them
// never both pass their free-space check on the same free bytes. Shared by every runner of a run;
// safe to use from their threads at once.
class SpaceReservations {
public:
    // Sets aside `bytes` on `volume` for `owner`, in place of what it had set aside before, when
    // `available` exceeds them and what the other owners have set aside there, strictly. False,
    // with nothing set aside, otherwise.
    bool reserve(const void* owner, const std::string& volume, std::int64_t bytes,
                 std::int64_t available);
    // Gives back what owner has set aside; nothing when it has nothing.
    void release(const void* owner);
    // What the owners other than `owner` have set aside on volume.
    std::int64_t reservedByOthers(const void* owner, const std::string& volume) const;

private:
    struct Reservation {
        std::string volume;
        std::int64_t bytes = 0;
    };
    std::int64_t reservedByOthersLocked(const void* owner, const std::string& volume) const;

    mutable std::mutex mutex_;
    std::map<const void*, Reservation> reservations_;
};
