#include <windows.h>

#include "files/systemEncoding.h"

namespace platform {

std::string systemText(const char* utf8Text) {
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8Text, -1, nullptr, 0);
    if (wideLength <= 0) {
        return utf8Text;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text, -1, wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return utf8Text;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), length, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(length) - 1);  // the terminating zero
    return text;
}

}  // namespace platform
