#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The readers under test take a path: each input is written to one file that lives as long as
// the fuzzer.
inline const std::string& writeFuzzInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/marovink-fuzz-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}
