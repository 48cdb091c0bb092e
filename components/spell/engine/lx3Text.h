#pragma once
// The engine's 8-bit text. Words are held, hashed, compared and case-mapped
// as Windows-1252 bytes, not as the platform's UTF-8: the letter tables of
// the suggestions generator, the phonetic rules and the tokenizer know one
// byte per letter, and "é" is two bytes in UTF-8. The component converts
// once at its boundary (ToEngineText / FromEngineText).
//
// Czech, Polish and Russian dictionaries are out of reach: their letters
// live in code pages 1250 and 1251. Their rule and letter tables are built
// as given, but no word held in 1252 ever meets them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "spell/engine/lx3Types.h"

namespace spell {

// The engine's code page.
inline constexpr Integer EngineCodePage = 1252;

// Case mapping of Windows-1252: ASCII letters, the Latin-1 letters (0xC0 to
// 0xDE but 0xD7 against 0xE0 to 0xFE but 0xF7) and Š, Œ, Ž, Ÿ. Bytes with no
// partner (ß, µ, digits, signs) map to themselves.
char EngineLowerChar(char c);
char EngineUpperChar(char c);
std::string EngineLowerCase(std::string_view s);
std::string EngineUpperCase(std::string_view s);
// True when the byte has a case partner (a letter that changes case).
bool EngineIsCasedLetter(char c);
// Comparison without regard to case, through the table above.
bool EngineSameText(std::string_view a, std::string_view b);

// UTF-8 to 1252. False (out untouched) when the text holds a character
// 1252 cannot hold.
bool ToEngineText(std::string_view utf8, std::string& out);
// 1252 to UTF-8.
AnsiString FromEngineText(std::string_view engineText);

// Text cursors over UTF-8 show the engine one byte per character: the
// character's 1252 byte, or a blank (a word boundary) for a character 1252
// cannot hold.
// Length of the UTF-8 character at s[i] and its code point; an invalid byte
// is a character of its own (code point -1).
size_t DecodeUtf8Char(std::string_view s, size_t i, int32_t& codePoint);
// The 1252 byte of a code point; a blank when 1252 cannot hold it.
char EngineCharOf(int32_t codePoint);
// One engine byte per character of utf8.
std::string EngineCharsOfUtf8(std::string_view utf8);

}  // namespace spell
