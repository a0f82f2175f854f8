#pragma once

// The control words the RTF reader knows, and the code pages of font character sets.

#include <string_view>

namespace rtf::detail {

enum class Word {
    Unknown,
    // where text goes
    FontTable,
    ColorTable,
    SkippedDestination,
    // body text
    Paragraph,
    Character, // the entry's character
    Unicode,
    UnicodeSkip,
    Binary,
    // character format
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    Hidden,
    Plain,
    Font,
    FontSize,
    Color,
    // paragraph format
    ParagraphDefaults,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    // document and tables
    DefaultFont,
    AnsiCodePage,
    Ansi,
    Mac,
    Pc,
    Pca,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
};

struct WordEntry {
    Word word = Word::Unknown;
    char16_t character = 0;
};

// What a control word's name means; Word::Unknown for a name that is not one of ours.
const WordEntry& lookUp(std::string_view name);

// The code page of a font character set (\fcharset); 0 means "the document's code page".
int codePageOfCharset(int charset);

} // namespace rtf::detail
