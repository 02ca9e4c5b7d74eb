// The code page that the texts of points are in, and their conversion to
// UTF-8 for the outputs that are UTF-8 by definition.
//
// Names and marks are bytes: every point file, the wire and the list carry
// them in the code page of the PC that wrote them (GBK on a Simplified-
// Chinese Windows, cp1252 on a Western one). Only an output that says what
// its characters are (GeoJSON, LandXML, DXF) needs to know which code page
// that was; the others write the bytes as they are.
//
// One implementation per platform, with the platform's own conversions: the
// C library's iconv (files/posix) and the system's code pages
// (files/win32). No table of characters is kept here.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class TextEncoding {
public:
    virtual ~TextEncoding() = default;

    // The name it was opened by, as the user gave it ("gbk"), for messages.
    virtual const std::string& name() const = 0;

    // The Windows code page of the same characters, as drawings declare it:
    // 936 for GBK (cp936, gb2312), 1252 for cp1252, 65001 for UTF-8; 0 when
    // the encoding has no such number.
    virtual unsigned codePage() const = 0;

    // Appends text, bytes in this encoding, to out as UTF-8. False when text
    // is not a sequence of this encoding's characters (a byte that no
    // character starts with, a character cut short); out then holds an
    // unknown part of the text. Text of ASCII bytes alone is appended as it
    // is: every encoding that can be opened keeps ASCII as ASCII.
    virtual bool appendUtf8(std::string_view text, std::string& out) const = 0;
};

// The encoding of this name ("gbk", "cp936", "cp1252", "utf-8", "UTF8", or
// any other that the platform converts and that keeps ASCII as ASCII, which
// every point file's commas and digits need); nullptr for any other name.
std::unique_ptr<TextEncoding> openTextEncoding(const std::string& name);

// The name of the encoding that texts are in when none is named: the
// system's ANSI code page on Windows ("cp936" on a Simplified-Chinese
// system), "utf-8" elsewhere.
std::string defaultTextEncodingName();

// True when every byte of text is ASCII (below 0x80).
bool isAscii(std::string_view text);
