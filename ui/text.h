#pragma once
// Text operations that count bytes as code page 936 (GBK) would, while the
// texts themselves stay UTF-8: a Chinese character counts 2 bytes and no
// operation ever cuts or matches inside a character.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Number of GBK bytes the text takes (characters GBK cannot encode count 2).
int text_length(std::string_view utf8);
// Up to `len` GBK bytes from the 1-based GBK byte position `start`; a
// character that would be cut at either end is left out. Empty when start
// lies outside the text or len <= 0.
std::string text_mid(std::string_view utf8, int start, int len);
// 1-based GBK byte position of the first occurrence of `sought` at or after
// `start`, or -1; matches start on character boundaries only. ignore_case
// folds ASCII letters only.
int find_text(std::string_view utf8, std::string_view sought, int start = 1, bool ignore_case = false);
// Parts between separators; adjacent separators give an empty part, a
// trailing separator gives no empty last part, an empty text gives none.
// max_parts > 0 stops at that many parts and drops the rest.
std::vector<std::string> split_text(std::string_view utf8, std::string_view sep = ",", int max_parts = 0);

// iconv conversion between named encodings; empty on any failure.
std::string convert_encoding(std::string_view bytes, const char* from, const char* to);
// UTF-8 <-> GBK helpers (GB18030 for the way back, so nothing is lost).
std::string utf8_to_gbk(std::string_view utf8);
std::string gbk_to_utf8(std::string_view gbk);

} // namespace ui
