#!/usr/bin/env python3
"""Generates a tree of karaoke files for scripts/bench-scan. Every byte is made here.

usage: make_scan_tree.py SHAPE FOLDER COUNT

SHAPE "generated": the first benchmark tree, 20 to 60 KB files in three even kinds.
SHAPE "real-shaped": a tree shaped like real collections: file sizes spread as in them (median
about 40 KB, nine in ten under 80 KB), four files in five Soft Karaoke files whose "Words" track
has one or two "@T" lines and mostly no "@I" after them, their lyrics hundreds of short text
events, music whose data is full of 0x40 bytes ("@": centred pitch bends, pans and note-off
velocities); the rest plain MIDI files with lyric events, some with their track name beyond the
first page; a few in Russian.
"""
import bisect
import math
import os
import random
import sys


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append((n & 0x7F) | 0x80)
        n >>= 7
    return bytes(reversed(out))


def meta(kind, text, delta=0):
    return vlq(delta) + b"\xff" + bytes([kind]) + vlq(len(text)) + text


def track(events):
    body = events + b"\x00\xff\x2f\x00"
    return b"MTrk" + len(body).to_bytes(4, "big") + body


def cyr(text):
    return text.encode("cp1251")


# --- The first tree --------------------------------------------------------------------------

def generated_tree(root, count):
    rnd = random.Random(1251)

    def notes(size):
        out = bytearray()
        while len(out) < size:
            n = rnd.randrange(40, 90)
            out += bytes([0x10, 0x90, n, 0x64, 0x20, 0x80, n, 0x00])
        return bytes(out)

    titles = [cyr("Подмосковные вечера"), cyr("Катюша"), b"Yesterday", cyr("Ой, то не вечер"),
              b"Let It Be", cyr("Миллион алых роз"), b"Hotel California", cyr("Кино - Группа крови")]
    people = [cyr("Исаковский М."), cyr("Блантер М."), b"Lennon J.", b"McCartney P.",
              cyr("Паулс Р."), cyr("Вознесенский А.")]
    karmaker = b"Created with KarMaker: team@karaokegalaxy.com"
    header = b"MThd\x00\x00\x00\x06\x00\x01\x00\x03\x01\xe0"

    def karaoke(i):
        size = rnd.randrange(20_000, 60_000)
        kind = i % 3
        if kind == 0:  # plain: the track name and the texts after it
            first = track(meta(3, rnd.choice(titles)) + meta(1, rnd.choice(people)) +
                          meta(1, rnd.choice(people)) + meta(1, b"Karaoke studio"))
            words = b""
        elif kind == 1:  # Soft Karaoke with title lines in the Words track
            first = track(meta(3, b"Soft Karaoke") + meta(1, b"@KMIDI KARAOKE FILE"))
            lyrics = b"".join(meta(1, b"@T" + t)
                              for t in (rnd.choice(titles), rnd.choice(people), b"Sequenced"))
            lyrics += meta(1, b"@I" + rnd.choice(people))
            words = track(meta(3, b"Words") + lyrics + b"".join(meta(1, b"la ") for _ in range(200)))
        else:  # an editor's credit
            first = track(meta(3, rnd.choice(titles)) + meta(1, karmaker) + meta(1, rnd.choice(people)))
            words = b""
        music = track(notes(size - len(first) - len(words) - len(header) - 8))
        return header + first + words + music

    made = 0
    folders = 0
    while made < count:
        group = f"{root}/Коллекция {folders // 30:03d}/Альбом {folders:04d}"
        if folders % 7 == 0:
            group += "/Диск 1"
        os.makedirs(group, exist_ok=True)
        for j in range(min(150, count - made)):
            name = f"{group}/{made:05d} {'Песня' if made % 2 else 'Song'}.kar"
            with open(name, "wb") as f:
                f.write(karaoke(made))
            made += 1
        with open(f"{group}/cover.jpg", "wb") as f:
            f.write(b"\xff\xd8" + bytes(1000))
        folders += 1


# --- The tree shaped like real collections ---------------------------------------------------

LATIN_WORDS = ("love you baby night heart time dream never forever tonight dance fire rain "
               "summer girl boy home road light sky world hold me down stay gone alone "
               "together remember tell why only one more way back again want need feel").split()
RUSSIAN_WORDS = ("любовь ночь сердце время мечта никогда навсегда сегодня танец огонь дождь "
                 "лето девочка дом дорога свет небо мир держи меня остаться один вместе "
                 "помню скажи почему только ещё раз снова хочу знаю").split()
LATIN_TITLES = ["Yesterday", "Let It Be", "Hotel California", "Wonderwall", "Angie", "Sailing",
                "Smoke On The Water", "Still Loving You", "Careless Whisper", "Yellow Submarine",
                "Take On Me", "Feelings", "Unchained Melody", "My Way", "Imagine", "Hey Jude"]
LATIN_PEOPLE = ["The Beatles", "Eagles", "Oasis", "Rolling Stones", "Rod Stewart", "Deep Purple",
                "Scorpions", "George Michael", "a-ha", "Frank Sinatra", "John Lennon", "ABBA"]
RUSSIAN_TITLES = ["Подмосковные вечера", "Катюша", "Ой, то не вечер", "Миллион алых роз",
                  "Группа крови", "Звезда по имени Солнце", "Один раз в год сады цветут"]
RUSSIAN_PEOPLE = ["Кино", "Алла Пугачёва", "ДДТ", "Любэ", "Ария", "Земфира", "Машина времени"]
INSTRUMENTS = [b"Piano", b"Bass", b"Drums", b"Strings", b"Guitar", b"Melody", b"Organ", b"Sax",
               b"Acoustic Guitar", b"Fretless Bass", b"Pad", b"Brass"]
SEQUENCERS = [b"Sequenced by Midi Studio", b"Karaoke by Vasya", b"(C) Midi Land 1998",
              b"Created by Sergey", b"MIDI by John S."]


def syllables(word):
    """The word cut after each vowel that a consonant follows, as karaoke lyrics are."""
    vowels = set("aeiouyаеёиоуыэюя")
    parts, start = [], 0
    for i in range(1, len(word) - 1):
        if word[i - 1] in vowels and word[i] not in vowels and any(c in vowels for c in word[i:]):
            parts.append(word[start:i])
            start = i
    return parts + [word[start:]]


class RealShape:
    def __init__(self):
        self.rnd = random.Random(1252)
        self.music = [self.music_pool(8192 + 2048 * k) for k in range(60)]
        self.latin_lyrics = [self.lyric_events(False) for _ in range(120)]
        self.russian_lyrics = [self.lyric_events(True) for _ in range(30)]

    def size(self):
        """Lognormal: median 40 KB, nine in ten files under 80 KB, clipped to 6..600 KB."""
        return int(min(max(39_500 * math.exp(self.rnd.gauss(0.0, 0.45)), 6_000), 600_000))

    # Music whose data is full of 0x40: centred pitch bends (E0 00 40), pans and reverb at 64,
    # note-off velocity 64, velocities spread. A 0x40 is never followed by "T" or "I" here, so
    # that a marker missing from the texts is missing from the whole file, as in most real ones.
    def music_pool(self, pool_size):
        rnd = self.rnd
        channel = rnd.randrange(0, 9)
        events = bytearray(b"\x00" + bytes([0xC0 | channel, rnd.randrange(0, 100)]))
        events += b"\x00" + bytes([0xB0 | channel]) + b"\x07\x64\x00\x0a\x40\x00\x5b\x40"
        boundaries = [len(events)]
        deltas = [0x00, 0x00, 0x0C, 0x18, 0x30, 0x3C, 0x60, 0x78]
        velocities = [0x40, 0x50, 0x5A, 0x64, 0x6E, 0x78, 0x7F]
        while len(events) < pool_size + 4096:
            kind = rnd.random()
            note = rnd.randrange(36, 96)
            if kind < 0.12:
                events += bytes([rnd.choice(deltas), 0xE0 | channel, rnd.randrange(0, 128), 0x40])
                events += bytes([0x0C, 0xE0 | channel, 0x00, 0x40])
            else:
                events += bytes([rnd.choice(deltas), 0x90 | channel, note, rnd.choice(velocities)])
                # a long note: a two-byte delta time, which often ends in 0x40 too
                gap = vlq(rnd.choice([0x30, 0x60, 0xC0, 0x140, 0x1C0]))
                events += gap + bytes([0x80 | channel, note, 0x40])
            boundaries.append(len(events))
        return bytes(events), boundaries

    def music_track(self, size, name):
        """A music track of about `size` bytes, ending at an event boundary."""
        events, boundaries = self.rnd.choice(self.music)
        end = boundaries[min(bisect.bisect_left(boundaries, max(size, 64)), len(boundaries) - 1)]
        return track(meta(3, name) + events[:end])

    def words(self, russian, count):
        vocabulary = RUSSIAN_WORDS if russian else LATIN_WORDS
        return " ".join(self.rnd.choice(vocabulary) for _ in range(count))

    def lyric_events(self, russian):
        """Hundreds of short text events: syllables, "\\" starting a verse, "/" a line."""
        rnd = self.rnd
        out = bytearray()
        for line in range(rnd.randrange(20, 60)):
            words = self.words(russian, rnd.randrange(3, 7)).split()
            for i, word in enumerate(words):
                parts = [p.encode("cp1251") if russian else p.encode() for p in syllables(word)]
                for k, part in enumerate(parts):
                    lead = b"\\" if line % 4 == 0 and i == 0 and k == 0 else (
                        b"/" if i == 0 and k == 0 else b"")
                    space = b" " if k == len(parts) - 1 else b""
                    out += meta(1, lead + part + space, rnd.choice([0x30, 0x60, 0x90, 0xC0, 0x180]))
        return bytes(out)

    def song(self, russian):
        if russian:
            return (cyr(self.rnd.choice(RUSSIAN_TITLES)), cyr(self.rnd.choice(RUSSIAN_PEOPLE)))
        return (self.rnd.choice(LATIN_TITLES).encode(), self.rnd.choice(LATIN_PEOPLE).encode())

    @staticmethod
    def header(tracks):
        return b"MThd\x00\x00\x00\x06\x00\x01" + tracks.to_bytes(2, "big") + b"\x01\xe0"

    def music_tracks(self, size, used):
        """Music tracks filling the file up to `size` bytes, `used` taken already."""
        rnd = self.rnd
        left = max(size - used, 256)
        parts = rnd.randrange(2, 7)
        tracks = []
        for k in range(parts):
            share = left // (parts - k)
            tracks.append(self.music_track(share - 16, rnd.choice(INSTRUMENTS)))
            left -= len(tracks[-1])
        return tracks

    def soft_karaoke(self, size, russian):
        rnd = self.rnd
        title, performer = self.song(russian)
        name = rnd.choices([b"Soft Karaoke", b"Soft karaoke", b"untitled"], [90, 8, 2])[0]
        first = meta(3, name) + meta(1, b"@KMIDI KARAOKE FILE") + meta(1, b"@V0100")
        # Information lines mostly stand in the first track, before "Words".
        for _ in range(rnd.choices([0, 1, 2], [40, 35, 25])[0]):
            first += meta(1, b"@I" + rnd.choice(SEQUENCERS))
        first += b"\x00\xff\x51\x03\x07\xa1\x20\x00\xff\x58\x04\x04\x02\x18\x08"
        titles = rnd.choices([1, 2, 3], [45, 40, 15])[0]
        lines = meta(3, b"Words") + meta(1, b"@LENGL" if not russian else b"@LRUS")
        for line in (title, performer, rnd.choice(SEQUENCERS))[:titles]:
            lines += meta(1, b"@T" + line)
        if rnd.random() < 0.1:
            lines += meta(1, b"@I" + rnd.choice(SEQUENCERS))
        lyrics = rnd.choice(self.russian_lyrics if russian else self.latin_lyrics)
        tracks = [track(first), track(lines + lyrics)]
        used = 14 + sum(len(t) for t in tracks)
        tracks += self.music_tracks(size, used)
        return self.header(len(tracks)) + b"".join(tracks)

    def plain(self, size, russian):
        rnd = self.rnd
        title, performer = self.song(russian)
        first = b""
        if rnd.random() < 0.25:
            # A setup dump before the track name: GS reset and part settings, 5 to 12 KB, so
            # that the track-name pair lies beyond the first page, sometimes beyond the block.
            dump = bytearray()
            while len(dump) < rnd.randrange(5_000, 12_000):
                body = bytes([0x41, 0x10, 0x42, 0x12, 0x40, rnd.randrange(0x10, 0x20),
                              rnd.randrange(0, 0x7F), rnd.randrange(0, 0x7F), 0x40, 0xF7])
                dump += b"\x00\xf0" + vlq(len(body)) + body
            first += bytes(dump)
        first += meta(3, title) + meta(2, b"(C) " + rnd.choice(SEQUENCERS)) + meta(1, performer)
        if rnd.random() < 0.5:
            first += meta(1, rnd.choice(SEQUENCERS))
        first += b"\x00\xff\x51\x03\x07\xa1\x20"
        # The melody track carries the lyrics as lyric events between its notes.
        melody = bytearray(meta(3, b"Melody"))
        vocabulary = RUSSIAN_WORDS if russian else LATIN_WORDS
        for _ in range(rnd.randrange(150, 400)):
            word = rnd.choice(vocabulary)
            text = (word.encode("cp1251") if russian else word.encode()) + b" "
            note = rnd.randrange(55, 80)
            melody += meta(5, text, rnd.choice([0x00, 0x18, 0x30]))
            melody += bytes([0x00, 0x90, note, 0x64, 0x60, 0x80, note, 0x40])
        tracks = [track(first), track(bytes(melody))]
        used = 14 + sum(len(t) for t in tracks)
        tracks += self.music_tracks(size, used)
        return self.header(len(tracks)) + b"".join(tracks)

    def karaoke(self):
        russian = self.rnd.random() < 0.06
        size = self.size()
        if self.rnd.random() < 0.8:
            return self.soft_karaoke(size, russian), russian
        return self.plain(size, russian), russian


def real_shaped_tree(root, count):
    shape = RealShape()
    rnd = shape.rnd
    made = 0
    folders = 0
    while made < count:
        artist = rnd.choice(LATIN_PEOPLE + RUSSIAN_PEOPLE)
        group = f"{root}/Караоке {folders // 40:02d}/{artist} {folders:04d}"
        os.makedirs(group, exist_ok=True)
        # Folders of a few files up to large ones, as collections grow.
        in_folder = min(int(rnd.paretovariate(1.2) * 6), 600, count - made)
        for _ in range(in_folder):
            data, russian = shape.karaoke()
            title = rnd.choice(RUSSIAN_TITLES if russian else LATIN_TITLES)
            with open(f"{group}/{made:05d} {artist} - {title}.kar", "wb") as f:
                f.write(data)
            made += 1
        if folders % 3 == 0:
            with open(f"{group}/folder.jpg", "wb") as f:
                f.write(b"\xff\xd8" + bytes(2000))
        folders += 1


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("generated", "real-shaped"):
        sys.exit(__doc__)
    shape, root, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    (generated_tree if shape == "generated" else real_shaped_tree)(root, count)


if __name__ == "__main__":
    main()
