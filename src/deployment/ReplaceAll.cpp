#include "deployment/ReplaceAll.h"

namespace {

template <typename String>
size_t replaceEvery(String& text, const String& find, const String& insert) {
    if (find.empty()) return 0;
    size_t count = 0;
    for (size_t at = text.find(find); at != String::npos; at = text.find(find, at)) {
        text.replace(at, find.size(), insert);
        at += insert.size();
        ++count;
    }
    return count;
}

} // namespace

size_t replaceAll(std::string& text, const std::string& find, const std::string& insert) {
    return replaceEvery(text, find, insert);
}

size_t replaceAll(std::wstring& text, const std::wstring& find, const std::wstring& insert) {
    return replaceEvery(text, find, insert);
}
