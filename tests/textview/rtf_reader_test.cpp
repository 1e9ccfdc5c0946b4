#include "textview/rtf_reader.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace songwick {
namespace {

QStringList lines(const char* rtf) {
    return RtfReader::toLines(QByteArrayView(rtf));
}

// WordPad on a Russian system: code page 1251, Cyrillic as \'xx, a Unicode character the
// code page lacks as \uN?.
TEST(RtfReaderTest, ReadsWordPadDocument) {
    const char* rtf =
        R"rtf({\rtf1\ansi\ansicpg1251\deff0\nouicompat\deflang1049{\fonttbl{\f0\fnil\fcharset204 Calibri;}{\f1\fnil\fcharset0 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang25\'cf\'f0\'e8\'e2\'e5\'f2, \'ec\'e8\'f0!\par
Second\tab line \{braces\} and \\backslash\f1\lang1033  \u8364?\u20013?\par
\par
\'b8\'ea\'e8 \'b9 5\par
}
)rtf";
    EXPECT_EQ(lines(rtf),
              QStringList({u"Привет, мир!"_s, u"Second\tline {braces} and \\backslash €中"_s,
                           QString(), u"ёки № 5"_s}));
}

// LibreOffice Writer: code page 1252 fonts, every Cyrillic letter as \uN with a '?' byte
// for older readers, and a long header of tables, styles and page descriptions.
TEST(RtfReaderTest, ReadsLibreOfficeDocument) {
    const char* rtf =
        R"rtf({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f1\froman\fprq2\fcharset2 Symbol;}{\f2\fswiss\fprq2\fcharset0 Arial;}{\f3\froman\fprq2\fcharset0 Liberation Serif{\*\falt Times New Roman};}{\f4\fswiss\fprq2\fcharset0 Liberation Sans{\*\falt Arial};}{\f5\fnil\fprq2\fcharset0 Noto Sans CJK SC;}}
{\colortbl;\red0\green0\blue0;\red128\green128\blue128;}
{\stylesheet{\s0\snext0\hich\af5\dbch\af6\langfe2052\loch\f3\fs24\lang1033 Normal;}
{\s15\sbasedon0\snext16\sb240\sa120\keepn\dbch\af5\dbch\af6\afs28\loch\f4\fs28 Heading;}
}{\*\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\info{\creatim\yr2026\mo12\dy8\hr18\min50}{\revtim\yr2026\mo12\dy8\hr18\min52}{\printim\yr0\mo0\dy0\hr0\min0}}{\*\userprops}\deftab709
\hyphauto1\viewscale100\formshade\paperh16838\paperw11906\margl1134\margr1134\margt1134\margb1134\sectd\sbknone\pgndec\pgwsxn11906\pghsxn16838\marglsxn1134\margrsxn1134\margtsxn1134\margbsxn1134\ftnbj\ftnstart1\ftnrstcont\ftnnar\aenddoc\aftnrstcont\aftnstart1\aftnnrlc
{\*\ftnsep\chftnsep}\pgndec\pard\plain \s0\hich\af5\dbch\af6\langfe2052\loch\f3\fs24\lang1033{\rtlch \ltrch\loch\lang1049
\u1055\'3f\u1088\'3f\u1080\'3f\u1074\'3f\u1077\'3f\u1090\'3f}{\rtlch \ltrch\loch
 world \u8470\'3f 7}
\par \pard\plain \s0\hich\af5\dbch\af6\langfe2052\loch\f3\fs24\lang1033{\rtlch \ltrch\loch
Tab\tab here}
\par }
)rtf";
    EXPECT_EQ(lines(rtf), QStringList({u"Привет world № 7"_s, u"Tab\there"_s}));
}

// Word: a code page 1252 document whose Cyrillic font (\fcharset204) carries its letters as
// code page 1251 bytes; fields, headers, pictures, theme data and tables around the text.
TEST(RtfReaderTest, ReadsWordDocument) {
    const char* rtf =
        R"rtf({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff31507\deff0\stshfdbch31505\stshfloch31506\stshfhich31506\stshfbi31507\deflang1033\deflangfe1033\themelang1033\themelangfe0\themelangcs0{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f1\fbidi \froman\fcharset204\fprq2{\*\panose 02020603050405020304}Times New Roman Cyr;}{\f31507\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;}{\*\defchp \fs22\loch\af31506\hich\af31506\dbch\af31505 }{\*\defpap \ql \li0\ri0\sa160\sl259\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 }
{\stylesheet{\ql \li0\ri0\sa160\sl259\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af31507\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 \snext0 \sqformat \spriority0 Normal;}}
{\*\rsidtbl \rsid1575046\rsid9055361}{\mmathPr\mmathFont34\mbrkBin0\mbrkBinSub0}{\info{\title \'cd\'e0\'e7\'e2\'e0\'ed\'e8\'e5}{\author User}{\operator User}{\creatim\yr2026\mo12\dy8\hr19\min1}{\version2}{\edmins1}{\nofpages1}{\nofwords3}{\nofchars20}{\vern91}}{\*\xmlnstbl {\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}
\paperw11906\paperh16838\margl1701\margr850\margt1134\margb1134\gutter0\ltrsect 
\widowctrl\ftnbj\aenddoc\trackmoves0\trackformatting1\donotembedsysfont1\relyonvml0\donotembedlingdata0\grfdocevents0\validatexml1\showplaceholdtext0\ignoremixedcontent0\saveinvalidxml0\showxmlerrors1\noxlattoyen
{\*\wgrffmtfilter 2450}\nofeaturethrottle1\ilfomacatclmul \ltrpar \sectd \ltrsect\linex0\headery708\footery708\colsx708\endnhere\sectlinegrid360\sectdefaultcl\sftnbj {\header \ltrpar \pard\plain \ltrpar\s15\ql \rtlch\fcs1 \af31507 \ltrch\fcs0 Page header\par }
{\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang {\pntxta .}}\pard\plain \ltrpar\ql \li0\ri0\sa160\sl259\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af31507\afs22\alang1025 \ltrch\fcs0 \fs22\lang1033\langfe1033\cgrid\langnp1033\langfenp1033 {\rtlch\fcs1 \af31507 \ltrch\fcs0 \f1\lang1049\langfe1033\langnp1049\insrsid9055361 \'cf\'f0\'e8\'e2\'e5\'f2}{\rtlch\fcs1 \af31507 \ltrch\fcs0 \insrsid9055361  caf\'e9 }{\field{\*\fldinst {\rtlch\fcs1 \af31507 \ltrch\fcs0 \insrsid9055361  HYPERLINK "http://example.org/" }}{\fldrslt {\rtlch\fcs1 \af31507 \ltrch\fcs0 \cs15\ul\cf2\insrsid9055361 link}}}{\rtlch\fcs1 \af31507 \ltrch\fcs0 \insrsid9055361 \par }
{\*\shppict{\pict{\*\picprop\shplid1025{\sp{\sn shapeType}{\sv 75}}}\picscalex100\picscaley100\pngblip\bliptag-1{\*\blipuid 9a1b}89504e470d0a1a0a0000000d49484452}}{\nonshppict{\pict\wmetafile8 0100090000}}
\trowd \irow0\irowband0\ltrrow\ts11\trgaph108\trleft-108 \cellx4677\cellx9355\pard\plain \intbl {\f1 \'d1\'ef\'e8\'f1\'ee\'ea\cell 42\cell }\pard\plain \intbl {\trowd \irow0\cellx4677\cellx9355\row }
\pard\plain {\emdash  \ldblquote x\rdblquote \~y\-z\_w\par }
{\*\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e745f54797065735d2e786d6cac91cb4ec3301045f748fc83e52d4a}
{\*\latentstyles\lsdstimax376\lsdlockeddef0\lsdsemihiddendef0{\lsdlockedexcept \lsdqformat1 \lsdpriority0 \lsdlocked0 Normal;}}{\*\datastore 01050000}}
)rtf";
    EXPECT_EQ(lines(rtf),
              QStringList({u"Привет café link"_s, u"Список\t42\t"_s, u"— “x”\u00A0yz-w"_s}));
}

TEST(RtfReaderTest, SkipsAsManyCharactersAsUcSaysAndOnlyInsideTheGroup) {
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi{\uc2\u1055\'cf\'cf x}\u1088?y{\uc0\u1080 z}\u1074 ?w})rtf"),
              QStringList{u"П xрyиzвw"_s});
    // A group's end also ends the characters to skip.
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi\uc3{\u1055}abc})rtf"), QStringList{u"Пabc"_s});
}

TEST(RtfReaderTest, ReadsSurrogatePairsAndUnsignedParameters) {
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi\uc1\u-10179?\u-8704? \u55357?\u56832?})rtf"),
              QStringList{u"😀 😀"_s});
}

TEST(RtfReaderTest, DecodesWithTheDocumentCodePage) {
    // Without \ansicpg an ANSI document is code page 1252.
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi \'e9\'80\'93\'e0})rtf"), QStringList{u"é€“à"_s});
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi\ansicpg1251 \'e9\'80\'93\'e0})rtf"), QStringList{u"йЂ“а"_s});
    // A font's own \cpg wins over its charset and the document.
    EXPECT_EQ(
        lines(R"rtf({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset204\cpg1253 X;}}\f0 \'e1})rtf"),
        QStringList{u"α"_s});
    // Raw 8-bit text is decoded as \'xx is.
    EXPECT_EQ(lines("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}"), QStringList{u"При"_s});
}

TEST(RtfReaderTest, FontChangesSwitchTheCodePageMidLine) {
    const char* rtf =
        R"rtf({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}{\f2\fcharset238 C;}}
\f1\'e6\f0\'e6{\f2\'e6}\'e6\plain\'e6\par})rtf";
    EXPECT_EQ(lines(rtf), QStringList{u"жæćææ"_s});
}

TEST(RtfReaderTest, SkipsBinaryDataWhateverItHolds) {
    EXPECT_EQ(lines("{\\rtf1\\ansi A{\\pict\\bin5 ab}{c}B\\par}"), QStringList{u"AB"_s});
}

TEST(RtfReaderTest, KeepsTextOfUnknownControlWordsAndEndsAtTheLastBrace) {
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi\newword42 a\line b\sect c\page d} trailing garbage)rtf"),
              QStringList({u"a"_s, u"b"_s, u"cd"_s}));
}

TEST(RtfReaderTest, ToleratesDamagedDocuments) {
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi {\b bold)rtf"), QStringList{u"bold"_s});
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi a\'4}b\'zz\)rtf"), QStringList{u"a"_s});
    EXPECT_EQ(lines(R"rtf({\rtf1\ansi x\u}y\u-)rtf"), QStringList{u"x"_s});
    EXPECT_TRUE(lines("").isEmpty());
}

TEST(RtfReaderTest, RecognisesRtfByItsOpening) {
    EXPECT_TRUE(RtfReader::isRtf("{\\rtf1\\ansi}"));
    EXPECT_FALSE(RtfReader::isRtf("rtf1"));
    EXPECT_FALSE(RtfReader::isRtf(" {\\rtf1}"));
    EXPECT_FALSE(RtfReader::isRtf("{\\rt"));
}

} // namespace
} // namespace songwick
