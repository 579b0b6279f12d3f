#!/usr/bin/env python3
"""Writes the example torrents of this folder. Run it from anywhere; the
output is checked in beside it, so it only needs to run when it changes."""

import hashlib
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts"))
from bencoding import bencode  # noqa: E402


def pieces(seed, count):
    return b"".join(hashlib.sha1(b"%s-%d" % (seed.encode(), i)).digest() for i in range(count))


def root_hash(seed):
    return hashlib.sha256(seed.encode()).digest()


def v2_file(seed, length):
    """A file of a v2 file tree: its length and, when it has data, its Merkle root."""
    return {"": {"length": length, **({"pieces root": root_hash(seed)} if length else {})}}


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


def main():
    write("single-file.torrent", bencode({
        "announce": "http://tracker.example.org:6969/announce",
        "comment": "A single file, the simplest torrent",
        "created by": "Seedlens examples 1.0",
        "creation date": 1700000000,
        "info": {"name": "seedlens-demo.iso", "length": 734003200,
                 "piece length": 262144, "pieces": pieces("single", 2800)},
    }))
    write("multi-file.torrent", bencode({
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
    }))
    write("private-announce-list.torrent", bencode({
        "announce": "https://private.example.org/announce?passkey=0123456789abcdef",
        "announce-list": [["https://private.example.org/announce?passkey=0123456789abcdef"],
                          ["https://backup.example.org/announce", "udp://[2001:db8::7]:6969/announce"]],
        "created by": "Seedlens examples 1.0",
        "creation date": 1600000000,
        "info": {"name": "members-only.tar", "length": 10485760, "private": 1,
                 "piece length": 1048576, "pieces": pieces("private", 10)},
    }))
    write("shift-jis.torrent", bencode({
        "announce": "http://tracker.example.jp/announce",
        "comment": "日本語のコメント".encode("shift_jis"),
        "created by": "Seedlens examples 1.0",
        "creation date": 1500000000,
        "encoding": "shift_jis",
        "info": {"name": "音楽の集まり".encode("shift_jis"), "length": 123456789,
                 "piece length": 524288, "pieces": pieces("sjis", 236)},
    }))
    write("name-utf8.torrent", bencode({
        "announce": "http://tracker.example.org/announce",
        "creation date": 1400000000,
        "info": {"name": "Caf\xe9 Tacuba".encode("cp1252"), "name.utf-8": "Café Tacvba – Re",
                 "length": 4096, "piece length": 16384, "pieces": pieces("utf8", 1)},
    }))
    write("no-creation-date.torrent", bencode({
        "announce": "http://tracker.example.org/announce",
        "info": {"name": "undated.txt", "length": 12, "piece length": 16384, "pieces": pieces("undated", 1)},
    }))
    # Today's creators: a v2-only torrent (a file tree, no "pieces", known by
    # its SHA-256) and a hybrid one whose v1 file list pads every file but
    # the last to a piece boundary.
    write("v2-only.torrent", bencode({
        "announce": "http://tracker.example.org/announce",
        "created by": "Seedlens examples 1.0",
        "creation date": 1700000000,
        "info": {"name": "Photos", "meta version": 2, "piece length": 65536, "file tree": {
            "2024": {"beach.jpg": v2_file("beach", 3500000), "city.jpg": v2_file("city", 2100000)},
            "2025": {"snow.jpg": v2_file("snow", 65536)},
            "empty.txt": v2_file("empty", 0),
        }},
        "piece layers": {root_hash("beach"): pieces("beach", 54) + pieces("beach2", 54)[:16 * 54],
                         root_hash("city"): pieces("city", 33) + pieces("city2", 33)[:12 * 33]},
    }))
    hybrid_files = [("readme.txt", 1000), ("video.mkv", 200000)]
    v1_files, v2_tree, piece_count = [], {}, 0
    for index, (name, length) in enumerate(hybrid_files):
        v1_files.append({"length": length, "path": [name]})
        file_pieces = -(-length // 16384)
        piece_count += file_pieces
        if index + 1 < len(hybrid_files):
            pad = file_pieces * 16384 - length
            v1_files.append({"attr": "p", "length": pad, "path": [".pad", str(pad)]})
        v2_tree[name] = v2_file(name, length)
    write("hybrid-padded.torrent", bencode({
        "announce": "http://tracker.example.org/announce",
        "created by": "Seedlens examples 1.0",
        "creation date": 1710000000,
        "info": {"name": "Hybrid", "meta version": 2, "piece length": 16384, "files": v1_files,
                 "file tree": v2_tree, "pieces": pieces("hybrid", piece_count)},
    }))
    write("missing-info.torrent", bencode({
        "announce": "http://tracker.example.org/announce",
        "comment": "The info dictionary is missing",
        "creation date": 1300000000,
    }))
    write("not-bencoded.torrent", b"This is a plain text file with a .torrent extension.\n")


if __name__ == "__main__":
    main()
