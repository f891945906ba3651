#include "runner/exec/spaceReservations.h"

bool SpaceReservations::reserve(const void* owner, const std::string& volume, std::int64_t bytes,
                                std::int64_t available) {
    std::lock_guard<std::mutex> lock(mutex_);
    reservations_.erase(owner);
    if (available <= bytes + reservedByOthersLocked(owner, volume)) {
        return false;
    }
    reservations_[owner] = Reservation{volume, bytes};
    return true;
}

void SpaceReservations::release(const void* owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    reservations_.erase(owner);
}

std::int64_t SpaceReservations::reservedByOthers(const void* owner,
                                                 const std::string& volume) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reservedByOthersLocked(owner, volume);
}

std::int64_t SpaceReservations::reservedByOthersLocked(const void* owner,
                                                       const std::string& volume) const {
    std::int64_t reserved = 0;
    for (const auto& [other, reservation] : reservations_) {
        // A drive that cannot be told apart is taken as the same drive: the safe side.
        if (other != owner &&
            (reservation.volume == volume || volume.empty() || reservation.volume.empty())) {
            reserved += reservation.bytes;
        }
    }
    return reserved;
}
