#include "dvdimage/ifoPlaces.h"

#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "dvdimage/byteFields.h"

namespace dvdimage {

namespace {

// The sector numbers an IFO gives: from its own first sector, as in its first sector's fields.
constexpr std::size_t lastSectorOfSet = 0x0c;
constexpr std::size_t menuVobStart = 0xc0;
constexpr std::size_t titleSearchTable = 0xc4;  // the video manager's
constexpr std::size_t titleVobStart = 0xc4;     // a title set's
constexpr std::size_t titleEntryBytes = 12;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A sector of the file, or nothing when it cannot be read whole.
std::optional<Bytes> readSector(const std::string& path, std::uint32_t sector) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    Bytes bytes(sectorSize);
    if (!file || std::fseek(file.get(), static_cast<long>(sector) * 2048L, SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

std::uint32_t big32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

class Places {
public:
    explicit Places(ImageFolder& folder) {
        for (ImageFile& file : folder.files) {
            files_[file.name] = &file;
        }
    }
    ImageFile* find(const std::string& name) const {
        const auto found = files_.find(name);
        return found == files_.end() ? nullptr : found->second;
    }
    void set(const std::string& name, std::uint32_t place) const {
        if (ImageFile* file = find(name)) {
            file->ifoPlace = place;
        }
    }
    // The menus' VOB, the titles' first VOB and the backup IFO, which ends the set.
    void setFromIfo(const std::string& prefix, std::uint32_t setStart, const Bytes& ifo,
                    const std::string& titleVob) const {
        set(prefix + ".IFO", setStart);
        if (const std::uint32_t menus = big32(ifo, menuVobStart); menus != 0) {
            set(prefix + ".VOB", setStart + menus);
        }
        if (!titleVob.empty()) {
            if (const std::uint32_t titles = big32(ifo, titleVobStart); titles != 0) {
                set(titleVob, setStart + titles);
            }
        }
        const ImageFile* backup = find(prefix + ".BUP");
        const std::uint64_t setSectors = std::uint64_t{big32(ifo, lastSectorOfSet)} + 1;
        if (backup != nullptr && sectorsFor(backup->size) <= setSectors) {
            set(backup->name,
                static_cast<std::uint32_t>(setStart + setSectors - sectorsFor(backup->size)));
        }
    }

private:
    std::map<std::string, ImageFile*> files_;
};

std::string twoDigits(int number) {
    return std::string(1, static_cast<char>('0' + number / 10)) +
           static_cast<char>('0' + number % 10);
}

}  // namespace

void readIfoPlaces(ImageFolder& videoTs) {
    const Places places(videoTs);
    const ImageFile* manager = places.find("VIDEO_TS.IFO");
    if (manager == nullptr) {
        return;
    }
    const std::optional<Bytes> managerIfo = readSector(manager->sourcePath, 0);
    if (!managerIfo) {
        return;
    }
    places.setFromIfo("VIDEO_TS", 0, *managerIfo, "");
    const std::optional<Bytes> titles =
        readSector(manager->sourcePath, big32(*managerIfo, titleSearchTable));
    if (!titles) {
        return;
    }
    const int titleCount = (*titles)[0] << 8 | (*titles)[1];
    std::map<int, std::uint32_t> setStarts;
    for (int title = 0; title < titleCount && title < 99; ++title) {
        const std::size_t entry = 8 + title * titleEntryBytes;
        setStarts.emplace((*titles)[entry + 6], big32(*titles, entry + 8));
    }
    for (const auto& [number, start] : setStarts) {
        if (number < 1 || number > 99) {
            continue;
        }
        const std::string prefix = "VTS_" + twoDigits(number) + "_0";
        const ImageFile* ifo = places.find(prefix + ".IFO");
        const std::optional<Bytes> setIfo =
            ifo == nullptr ? std::nullopt : readSector(ifo->sourcePath, 0);
        if (setIfo) {
            places.setFromIfo(prefix, start, *setIfo, "VTS_" + twoDigits(number) + "_1.VOB");
        }
    }
}

}  // namespace dvdimage
