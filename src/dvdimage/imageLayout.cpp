#include "dvdimage/imageLayout.h"

#include <algorithm>
#include <optional>

#include "dvdimage/byteFields.h"
#include "dvdimage/imageError.h"
#include "dvdimage/isoDirectories.h"
#include "dvdimage/udfFiles.h"

namespace dvdimage {

namespace {

// Hands out sectors one run after another.
class SectorRun {
public:
    explicit SectorRun(std::uint64_t first) : next_(first) {}
    std::uint32_t take(std::uint64_t bytes) {
        const std::uint64_t first = next_;
        next_ += bytes == 0 ? 0 : sectorsFor(bytes);
        // The descriptors of both file systems count sectors in 32 bits.
        if (next_ >= 0xffffffffu) {
            throw ImageError("the files are too large for one image");
        }
        return static_cast<std::uint32_t>(first);
    }
    std::uint32_t takeOne() { return take(sectorSize); }
    // Leaves the sectors up to `sector` empty, when it lies ahead.
    void skipTo(std::uint64_t sector) { next_ = std::max(next_, sector); }

private:
    std::uint64_t next_;
};

std::vector<std::string> namesOf(const ImageFolder& folder) {
    std::vector<std::string> names;
    for (const ImageFile& file : folder.files) {
        names.push_back(file.name);
    }
    return names;
}

std::vector<std::string> namesOf(const std::vector<ImageFolder>& folders) {
    std::vector<std::string> names;
    for (const ImageFolder& folder : folders) {
        names.push_back(folder.name);
    }
    return names;
}

void placeUdfDirectory(SectorRun& run, DirectoryPlace& place,
                       const std::vector<std::string>& names) {
    place.udfEntrySector = run.takeOne();
    place.udfDataBytes = udfDirectoryBytes(names);
    place.udfDataSector = run.take(place.udfDataBytes);
}

void placeIsoDirectory(SectorRun& run, DirectoryPlace& place, const std::vector<std::string>& names,
                       bool ofFolders) {
    place.isoBytes = isoDirectoryBytes(names, ofFolders);
    place.isoSector = run.take(place.isoBytes);
}

}  // namespace

ImageLayout layOut(const DvdFolder& dvd) {
    ImageLayout layout;
    SectorRun run(partitionStart);
    layout.fileSetSector = run.take(2 * sectorSize);
    placeUdfDirectory(run, layout.root, namesOf(dvd.folders));
    layout.folders.resize(dvd.folders.size());
    for (std::size_t index = 0; index < dvd.folders.size(); ++index) {
        placeUdfDirectory(run, layout.folders[index], namesOf(dvd.folders[index]));
    }
    for (const ImageFolder& folder : dvd.folders) {
        std::vector<FilePlace> files(folder.files.size());
        for (FilePlace& file : files) {
            file.udfEntrySector = run.takeOne();
        }
        layout.files.push_back(files);
    }
    layout.pathTableBytes = isoPathTableBytes(namesOf(dvd.folders));
    layout.littleEndianPathTable = run.take(layout.pathTableBytes);
    layout.bigEndianPathTable = run.take(layout.pathTableBytes);
    placeIsoDirectory(run, layout.root, namesOf(dvd.folders), true);
    for (std::size_t index = 0; index < dvd.folders.size(); ++index) {
        placeIsoDirectory(run, layout.folders[index], namesOf(dvd.folders[index]), false);
    }
    layout.dataSector = run.take(0);
    for (std::size_t folder = 0; folder < dvd.folders.size(); ++folder) {
        std::optional<std::uint32_t> managerSector;  // VIDEO_TS.IFO's, which the IFOs count from
        for (std::size_t file = 0; file < dvd.folders[folder].files.size(); ++file) {
            const ImageFile& source = dvd.folders[folder].files[file];
            if (source.ifoPlace && source.name == "VIDEO_TS.IFO") {
                managerSector = run.take(0);
            } else if (source.ifoPlace && managerSector) {
                run.skipTo(std::uint64_t{*managerSector} + *source.ifoPlace);
            }
            layout.files[folder][file].dataSector = run.take(source.size);
        }
    }
    layout.lastAnchorSector = run.takeOne();
    layout.totalSectors = layout.lastAnchorSector + 1;
    return layout;
}

}  // namespace dvdimage
