#!/usr/bin/env python3
"""Writes the example torrents of this folder and of broken/. Run it from
anywhere; the output is checked in, so it only needs to run when it changes.
To add an example, add an entry to EXAMPLES (or BROKEN) and its golden
outputs in tests/tools/golden/."""

import hashlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts"))
from bencoding import bencode  # noqa: E402


def pieces(seed, count):
    return b"".join(hashlib.sha1(b"%s-%d" % (seed.encode(), i)).digest() for i in range(count))


BLOCK = 16384


def content(seed, length):
    """The bytes of an example file: its seed, repeated."""
    unit = hashlib.sha256(seed.encode()).digest()
    return (unit * (length // len(unit) + 1))[:length]


def merkle_root(hashes, leaves, pad):
    """The root over `leaves` nodes, the missing ones `pad`, as BEP 52 builds it."""
    layer = hashes + [pad] * (leaves - len(hashes))
    while len(layer) > 1:
        layer = [hashlib.sha256(layer[i] + layer[i + 1]).digest() for i in range(0, len(layer), 2)]
    return layer[0]


def v2_hashes(seed, length, piece_length):
    """A file's Merkle root and piece layer: SHA-256 over 16 KiB blocks, the
    leaves past the end zero; the layer holds one hash per piece, and only
    files longer than a piece have one."""
    data = content(seed, length)
    blocks = [hashlib.sha256(data[i:i + BLOCK]).digest() for i in range(0, length, BLOCK)]
    zero = bytes(32)
    if length <= piece_length:
        leaves = 1
        while leaves < len(blocks):
            leaves *= 2
        return merkle_root(blocks, leaves, zero), b""
    per_piece = piece_length // BLOCK
    layer = [merkle_root(blocks[i:i + per_piece], per_piece, zero) for i in range(0, len(blocks), per_piece)]
    pieces_wide = 1
    while pieces_wide < len(layer):
        pieces_wide *= 2
    return merkle_root(layer, pieces_wide, merkle_root([], per_piece, zero)), b"".join(layer)


def v2_file(seed, length, piece_length=16384):
    """A file of a v2 file tree: its length and, when it has data, its Merkle root."""
    return {"": {"length": length, **({"pieces root": v2_hashes(seed, length, piece_length)[0]} if length else {})}}


def v2_layers(files, piece_length):
    """The "piece layers" of the (seed, length) files longer than a piece."""
    return {v2_hashes(seed, length, piece_length)[0]: v2_hashes(seed, length, piece_length)[1]
            for seed, length in files if length > piece_length}


def hybrid_info(name, files, piece_length):
    """A hybrid info dictionary: the v1 list pads every file but the last to a
    piece boundary, the file tree lists the same files."""
    v1_files, v2_tree, piece_count = [], {}, 0
    for index, (path, length) in enumerate(files):
        v1_files.append({"length": length, "path": [path]})
        file_pieces = -(-length // piece_length)
        piece_count += file_pieces
        if index + 1 < len(files):
            pad = file_pieces * piece_length - length
            v1_files.append({"attr": "p", "length": pad, "path": [".pad", str(pad)]})
        v2_tree[path] = v2_file(path, length, piece_length)
    return {"name": name, "meta version": 2, "piece length": piece_length, "files": v1_files,
            "file tree": v2_tree, "pieces": pieces("hybrid", piece_count)}


# Torrents that load: `./scripts/run.sh` shows these. Each entry is a file
# name and its content, bencoded unless it is bytes already.
EXAMPLES = {
    "single-file.torrent": {
        "announce": "http://tracker.example.org:6969/announce",
        "comment": "A single file, the simplest torrent",
        "created by": "Seedlens examples 1.0",
        "creation date": 1700000000,
        "info": {"name": "seedlens-demo.iso", "length": 734003200,
                 "piece length": 262144, "pieces": pieces("single", 2800)},
    },
    "multi-file.torrent": {
        "announce": "udp://tracker.example.net:1337/announce",
        "created by": "Seedlens examples 1.0",
        "creation date": 1650000000,
        "url-list": ["https://mirror.example.com/album/"],
        "info": {"name": "Album", "piece length": 65536, "pieces": pieces("multi", 39), "files": [
            {"length": 1048576, "path": ["Disc 1", "01 Opening.flac"]},
            {"length": 917504, "path": ["Disc 1", "02 Theme.flac"]},
            {"length": 524288, "path": ["Disc 2", "Bonus", "03 Demo.flac"]},
            {"length": 2048, "path": ["cover.jpg"]},
        ]},
    },
    "private-announce-list.torrent": {
        "announce": "https://private.example.org/announce?passkey=0123456789abcdef",
        "announce-list": [["https://private.example.org/announce?passkey=0123456789abcdef"],
                          ["https://backup.example.org/announce", "udp://[2001:db8::7]:6969/announce"]],
        "created by": "Seedlens examples 1.0",
        "creation date": 1600000000,
        "info": {"name": "members-only.tar", "length": 10485760, "private": 1, "source": "EXAMPLE",
                 "piece length": 1048576, "pieces": pieces("private", 10)},
    },
    "shift-jis.torrent": {
        "announce": "http://tracker.example.jp/announce",
        "comment": "日本語のコメント".encode("shift_jis"),
        "created by": "Seedlens examples 1.0",
        "creation date": 1500000000,
        "encoding": "shift_jis",
        "info": {"name": "音楽の集まり".encode("shift_jis"), "length": 123456789,
                 "piece length": 524288, "pieces": pieces("sjis", 236)},
    },
    "name-utf8.torrent": {
        "announce": "http://tracker.example.org/announce",
        "creation date": 1400000000,
        "info": {"name": "Caf\xe9 Tacuba".encode("cp1252"), "name.utf-8": "Café Tacvba – Re",
                 "length": 4096, "piece length": 16384, "pieces": pieces("utf8", 1)},
    },
    "no-creation-date.torrent": {
        "announce": "http://tracker.example.org/announce",
        "info": {"name": "undated.txt", "length": 12, "piece length": 16384, "pieces": pieces("undated", 1)},
    },
    # Today's creators: a v2-only torrent (a file tree, no "pieces", known by
    # its SHA-256) and a hybrid one with padding files.
    "v2-only.torrent": {
        "announce": "http://tracker.example.org/announce",
        "created by": "Seedlens examples 1.0",
        "creation date": 1700000000,
        "info": {"name": "Photos", "meta version": 2, "piece length": 65536, "file tree": {
            "2024": {"beach.jpg": v2_file("beach", 3500000, 65536), "city.jpg": v2_file("city", 2100000, 65536)},
            "2025": {"snow.jpg": v2_file("snow", 65536, 65536)},
            "empty.txt": v2_file("empty", 0, 65536),
        }},
        "piece layers": v2_layers([("beach", 3500000), ("city", 2100000), ("snow", 65536)], 65536),
    },
    "hybrid-padded.torrent": {
        "announce": "http://tracker.example.org/announce",
        "created by": "Seedlens examples 1.0",
        "creation date": 1710000000,
        "info": hybrid_info("Hybrid", [("readme.txt", 1000), ("video.mkv", 200000)], 16384),
    },
}

# Torrents broken on purpose, in broken/: what a file manager also meets.
BROKEN = {
    "missing-info.torrent": {
        "announce": "http://tracker.example.org/announce",
        "comment": "The info dictionary is missing",
        "creation date": 1300000000,
    },
    "not-bencoded.torrent": b"This is a plain text file with a .torrent extension.\n",
}


def write_all(folder, examples):
    os.makedirs(folder, exist_ok=True)
    for name, content in examples.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(content if isinstance(content, bytes) else bencode(content))


def main():
    write_all(HERE, EXAMPLES)
    write_all(os.path.join(HERE, "broken"), BROKEN)


if __name__ == "__main__":
    main()
