#pragma once
#include <string>

// Replaces every occurrence of find in text by insert, left to right, and
// returns how many there were. Inserted text is never searched again, and
// occurrences do not overlap. An empty find replaces nothing.
size_t replaceAll(std::string& text, const std::string& find, const std::string& insert);
size_t replaceAll(std::wstring& text, const std::wstring& find, const std::wstring& insert);
