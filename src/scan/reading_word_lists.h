#pragma once

#include <string_view>

// The words the structured reading tells a song's texts from the rest of a file's texts by. All
// in lower case (compared case-folded), one table for each kind.

namespace songwick::reading_words {

// Words that make a name generic when every word of it is a generic word and at least one is
// one of these: instruments, track roles, format words. "Rock Organ" is generic, "Rock Music"
// is not.
inline constexpr std::u16string_view kStrong[] = {
    // Track roles and format words.
    u"untitled", u"noname", u"unnamed", u"karaoke", u"kar", u"words", u"lyrics", u"lyric", u"track",
    u"trk", u"midi", u"gm", u"gs", u"xg", u"sequence", u"melody", u"vocal", u"vocals", u"vox",
    u"voice", u"parameters", u"conductor", u"metronome", u"click", u"tempo", u"sysex", u"setup",
    u"instrument", u"instruments", u"accomp", u"accompaniment", u"backing", u"chords",
    // Instruments, with the plurals scores name parts by.
    u"piano", u"pianos", u"harpsichord", u"clavinet", u"clav", u"celesta", u"glockenspiel",
    u"vibraphone", u"vibes", u"marimba", u"xylophone", u"bells", u"dulcimer", u"organ",
    u"accordion", u"harmonica", u"bandoneon", u"guitar", u"guitars", u"gtr", u"bass", u"basses",
    u"violin", u"violins", u"viola", u"violas", u"cello", u"cellos", u"celli", u"contrabass",
    u"harp", u"harps", u"timpani", u"strings", u"string", u"choir", u"orchestra", u"trumpet",
    u"trumpets", u"trombone", u"trombones", u"tuba", u"tubas", u"horn", u"horns", u"brass", u"sax",
    u"saxophone", u"oboe", u"oboes", u"bassoon", u"bassoons", u"clarinet", u"clarinets", u"piccolo",
    u"flute", u"flutes", u"recorder", u"whistle", u"ocarina", u"synth", u"synthesizer", u"pad",
    u"sitar", u"banjo", u"shamisen", u"koto", u"kalimba", u"bagpipe", u"fiddle", u"shanai",
    u"drums", u"drum", u"percussion", u"perc", u"kit", u"cymbal", u"cymbals", u"tom", u"toms",
    u"woodblock", u"taiko", u"snare", u"hihat", u"tambourine", u"congas", u"bongos", u"cowbell",
    u"maracas", u"keyboard", u"keyboards", u"treble", u"descant", u"continuo", u"manual", u"pedal",
    u"klavier", u"orgel", u"gitarre", u"schlagzeug", u"stimme", u"melodie", u"geige", u"flöte",
    // The same in Russian.
    u"трек", u"дорожка", u"мелодия", u"вокал", u"голос", u"слова", u"текст", u"караоке",
    u"фортепиано", u"пианино", u"бас", u"гитара", u"ударные", u"барабаны", u"струнные", u"скрипка",
    u"скрипки", u"орган", u"аккордеон", u"баян", u"синтезатор", u"партия", u"аккомпанемент",
    u"флейта", u"труба", u"саксофон", u"хор"};

// Words that keep a name generic beside a strong word: kinds of instruments, parts and hands,
// numbers of parts.
inline constexpr std::u16string_view kWeak[] = {
    u"soft",       u"general",   u"standard", u"file",      u"format",     u"acoustic",
    u"electric",   u"grand",     u"bright",   u"honky",     u"tonk",       u"rhodes",
    u"chorused",   u"music",     u"box",      u"tubular",   u"drawbar",    u"percussive",
    u"rock",       u"church",    u"reed",     u"tango",     u"nylon",      u"steel",
    u"jazz",       u"clean",     u"muted",    u"mute",      u"overdriven", u"overdrive",
    u"distortion", u"distorted", u"dist",     u"harmonics", u"fingered",   u"finger",
    u"picked",     u"pick",      u"fretless", u"slap",      u"tremolo",    u"pizzicato",
    u"orchestral", u"ensemble",  u"slow",     u"aahs",      u"oohs",       u"hit",
    u"french",     u"section",   u"soprano",  u"alto",      u"tenor",      u"baritone",
    u"english",    u"pan",       u"blown",    u"bottle",    u"shakuhachi", u"lead",
    u"square",     u"sawtooth",  u"saw",      u"calliope",  u"chiff",      u"charang",
    u"fifths",     u"new",       u"age",      u"warm",      u"polysynth",  u"bowed",
    u"metallic",   u"halo",      u"sweep",    u"fx",        u"sci",        u"fi",
    u"tinkle",     u"bell",      u"agogo",    u"melodic",   u"reverse",    u"fret",
    u"noise",      u"breath",    u"rhythm",   u"harmony",   u"left",       u"right",
    u"hand",       u"l",         u"r",        u"lh",        u"rh",         u"channel",
    u"ch",         u"part",      u"main",     u"solo",      u"intro",      u"system",
    u"exclusive",  u"empty",     u"control",  u"reset",     u"mixer",      u"master",
    u"timing",     u"marker",    u"cue",      u"mono",      u"stereo",     u"high",
    u"low",        u"hi",        u"lo",       u"ac",        u"el",         u"st",
    u"upright",    u"double",    u"and",      u"the",       u"of",         u"by",
    u"name",       u"no",        u"set",      u"up",        u"non",        u"text",
    u"i",          u"ii",        u"iii",      u"iv",        u"v",          u"vi",
    u"first",      u"second",    u"third",    u"upper",     u"lower",      u"primo",
    u"secondo",    u"tutti",     u"rechte",   u"linke",     u"sopran",     u"alt",
    u"соло",       u"и",         u"левая",    u"правая",    u"рука",       u"первая",
    u"вторая"};

// Words of movements and song parts: with the weak words, the part names of ordinary MIDI
// files ("Allegro", "Interlude 2", "Left Hand"), which name no song there.
inline constexpr std::u16string_view kPartNames[] = {
    u"allegro",   u"allegretto", u"andante", u"andantino", u"adagio",    u"moderato", u"presto",
    u"largo",     u"lento",      u"vivace",  u"menuet",    u"minuet",    u"trio",     u"coda",
    u"verse",     u"chorus",     u"bridge",  u"outro",     u"interlude", u"movement", u"theme",
    u"variation", u"variations", u"prelude", u"finale",    u"ending",    u"tacet"};

// Texts that are a genre, never a song's title or performer.
inline constexpr std::u16string_view kGenres[] = {
    u"rap",       u"pop",    u"rock",       u"disco",    u"dance",      u"jazz",      u"blues",
    u"country",   u"techno", u"house",      u"hip hop",  u"hip-hop",    u"r&b",       u"rnb",
    u"reggae",    u"folk",   u"metal",      u"punk",     u"soul",       u"funk",      u"ballad",
    u"latin",     u"salsa",  u"trance",     u"pop rock", u"soft rock",  u"hard rock", u"gospel",
    u"classical", u"oldies", u"soundtrack", u"шансон",   u"эстрада",    u"поп",       u"рок",
    u"романс",    u"диско",  u"рэп",        u"блатная",  u"бардовская", u"народная",  u"детская",
    u"эстрадная"};

// Openings of texts that say who made the file: its sequencer, who entered the words, the
// programs that leave their mark. Two program credits of the program's own reading are added
// where the lists are read.
inline constexpr std::u16string_view kMakerOpenings[] = {u"sequenced by",
                                                         u"sequence by",
                                                         u"sequenced:",
                                                         u"sequencer:",
                                                         u"seq by",
                                                         u"seq.",
                                                         u"midi sequence",
                                                         u"midi sequenced",
                                                         u"midi file by",
                                                         u"midi by",
                                                         u"kar by",
                                                         u"karaoke by",
                                                         u"kar:",
                                                         u"made by",
                                                         u"&copy;",
                                                         u"maked by",
                                                         u"created by",
                                                         u"created with",
                                                         u"arranged by",
                                                         u"programmed by",
                                                         u"(c)",
                                                         u"copyright",
                                                         u"encoded by",
                                                         u"converted by",
                                                         u"transcribed by",
                                                         u"lyrics entered",
                                                         u"words entered",
                                                         u"entered by",
                                                         u"lyrics typed",
                                                         u"typed by",
                                                         u"synchronized by",
                                                         u"synced by",
                                                         u"timed by",
                                                         u"e-mail",
                                                         u"email:",
                                                         u"mailto:",
                                                         u"www.",
                                                         u"http://",
                                                         u"https://",
                                                         u"©",
                                                         u"сделан",
                                                         u"набрал",
                                                         u"набор",
                                                         u"аранжировка",
                                                         u"подготовил",
                                                         u"автор файла",
                                                         u"файл сделал"};

// Openings of a composer's credit, taken off to leave the composer's name.
inline constexpr std::u16string_view kComposerLabels[] = {u"words and music by",
                                                          u"words & music by",
                                                          u"music and lyrics by",
                                                          u"music & lyrics by",
                                                          u"music by",
                                                          u"music:",
                                                          u"music -",
                                                          u"composed by",
                                                          u"composer:",
                                                          u"composer -",
                                                          u"written by",
                                                          u"музыка и слова",
                                                          u"музыка:",
                                                          u"музыка -",
                                                          u"муз.",
                                                          u"композитор:",
                                                          u"композитор"};

// Openings of other credits of the song (its words, its arrangement): further texts, never its
// title or performer.
inline constexpr std::u16string_view kCreditOpenings[] = {
    u"words:",   u"words by",    u"words -",   u"lyrics:",       u"lyrics by", u"lyrics -",
    u"lyricist", u"arrangement", u"arranged:", u"orchestration", u"слова:",    u"слова -",
    u"сл.",      u"стихи:",      u"стихи -",   u"текст:",        u"обработка"};

// Words of the label before a credit's colon ("Sequence and score: ...", "Words & Music: ..."):
// a text whose label is made of these is a credit.
inline constexpr std::u16string_view kCreditLabelWords[] = {u"words",       u"lyrics",
                                                            u"lyric",       u"music",
                                                            u"sequence",    u"sequenced",
                                                            u"sequencing",  u"score",
                                                            u"arrangement", u"arranged",
                                                            u"arranger",    u"midi",
                                                            u"karaoke",     u"kar",
                                                            u"composer",    u"composed",
                                                            u"text",        u"programming",
                                                            u"programmed",  u"transcription",
                                                            u"transcribed", u"orchestration",
                                                            u"original",    u"file",
                                                            u"and",         u"by",
                                                            u"слова",       u"музыка",
                                                            u"текст",       u"аранжировка",
                                                            u"стихи",       u"автор",
                                                            u"авторы",      u"и"};

} // namespace songwick::reading_words
