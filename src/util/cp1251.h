#pragma once
#include <string>
#include <string_view>

// Device texts travel in Windows-1251; everything inside the program is UTF-8.
std::string Cp1251ToUtf8(std::string_view cp1251);
// False when a character has no Windows-1251 form (nothing is replaced by '?').
bool Utf8ToCp1251(std::string_view utf8, std::string &out);
