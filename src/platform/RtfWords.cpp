#include "platform/RtfWords.h"

#include <array>
#include <unordered_map>
#include <utility>

namespace rtf::detail {

const WordEntry& lookUp(std::string_view name)
{
    static const std::unordered_map<std::string_view, WordEntry> table = [] {
        std::unordered_map<std::string_view, WordEntry> t = {
            { "fonttbl", { Word::FontTable } },
            { "colortbl", { Word::ColorTable } },
            { "par", { Word::Paragraph } },
            { "sect", { Word::Paragraph } },
            { "page", { Word::Paragraph } },
            { "row", { Word::Paragraph } },
            { "nestrow", { Word::Paragraph } },
            { "line", { Word::Character, 0x2028 } },
            { "tab", { Word::Character, u'\t' } },
            { "cell", { Word::Character, u'\t' } },
            { "nestcell", { Word::Character, u'\t' } },
            { "emdash", { Word::Character, 0x2014 } },
            { "endash", { Word::Character, 0x2013 } },
            { "emspace", { Word::Character, 0x2003 } },
            { "enspace", { Word::Character, 0x2002 } },
            { "qmspace", { Word::Character, 0x2005 } },
            { "bullet", { Word::Character, 0x2022 } },
            { "lquote", { Word::Character, 0x2018 } },
            { "rquote", { Word::Character, 0x2019 } },
            { "ldblquote", { Word::Character, 0x201c } },
            { "rdblquote", { Word::Character, 0x201d } },
            { "zwbo", { Word::Character, 0x200b } },
            { "zwnj", { Word::Character, 0x200c } },
            { "zwj", { Word::Character, 0x200d } },
            { "ltrmark", { Word::Character, 0x200e } },
            { "rtlmark", { Word::Character, 0x200f } },
            { "u", { Word::Unicode } },
            { "uc", { Word::UnicodeSkip } },
            { "bin", { Word::Binary } },
            { "b", { Word::Bold } },
            { "i", { Word::Italic } },
            { "ul", { Word::Underline } },
            { "ulnone", { Word::UnderlineNone } },
            { "strike", { Word::StrikeOut } },
            { "striked", { Word::StrikeOut } },
            { "v", { Word::Hidden } },
            { "plain", { Word::Plain } },
            { "f", { Word::Font } },
            { "fs", { Word::FontSize } },
            { "cf", { Word::Color } },
            { "pard", { Word::ParagraphDefaults } },
            { "ql", { Word::AlignLeft } },
            { "qc", { Word::AlignCenter } },
            { "qr", { Word::AlignRight } },
            { "qj", { Word::AlignJustify } },
            { "deff", { Word::DefaultFont } },
            { "ansicpg", { Word::AnsiCodePage } },
            { "ansi", { Word::Ansi } },
            { "mac", { Word::Mac } },
            { "pc", { Word::Pc } },
            { "pca", { Word::Pca } },
            { "fcharset", { Word::FontCharset } },
            { "cpg", { Word::FontCodePage } },
            { "red", { Word::Red } },
            { "green", { Word::Green } },
            { "blue", { Word::Blue } },
        };
        // The underline kinds all show as an underline here.
        for (const std::string_view name : { "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                 "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave" }) {
            t.emplace(name, WordEntry { Word::Underline });
        }
        // Destinations written without {\* ...} whose content is not body text.
        for (const std::string_view name :
            { "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
                "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "atndate", "atnref", "atnparent",
                "fldinst", "filetbl", "listtable", "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl", "themedata",
                "colorschememapping", "datastore", "latentstyles", "generator", "author", "operator", "title",
                "subject", "keywords", "comment", "doccomm", "company", "manager", "category", "hlinkbase", "creatim",
                "revtim", "printim", "buptim", "private", "txe", "xe", "tc", "rxe", "bkmkstart", "bkmkend", "shp",
                "shpinst", "shppict", "nonshppict", "objdata", "objclass", "objname", "objalias", "objsect", "objtime",
                "template", "docvar", "userprops", "pgdsctbl", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
                "aftncn", "pn", "pntxta", "pntxtb", "falt", "panose", "fname", "fontemb", "fontfile", "do", "mmathPr",
                "passwordhash", "protusertbl", "wgrffmtfilter", "listpicture" }) {
            t.emplace(name, WordEntry { Word::SkippedDestination });
        }
        return t;
    }();
    static const WordEntry unknown;
    const auto it = table.find(name);
    return it == table.end() ? unknown : it->second;
}

int codePageOfCharset(int charset)
{
    static constexpr std::array<std::pair<int, int>, 15> kCodePages = { { { 77, 10000 }, { 128, 932 }, { 129, 949 },
        { 134, 936 }, { 136, 950 }, { 161, 1253 }, { 162, 1254 }, { 163, 1258 }, { 177, 1255 }, { 178, 1256 },
        { 186, 1257 }, { 204, 1251 }, { 222, 874 }, { 238, 1250 }, { 255, 437 } } };
    for (const auto& [set, codePage] : kCodePages) {
        if (set == charset)
            return codePage;
    }
    return 0;
}

} // namespace rtf::detail
