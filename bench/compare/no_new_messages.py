#!/usr/bin/env python3
"""Torrents that libtorrent opens must show no structural message in
Errors: for each file given, libtorrent's torrent_info decides, and the
seedlens command (through the real plug-in) shows the Errors field. Prints
the files flagged all the same, and the count.

Usage (Debian's python3, which has libtorrent's bindings):
  /usr/bin/python3 bench/compare/no_new_messages.py SEEDLENS FILE..."""

import json
import subprocess
import sys

import libtorrent as lt

# The messages that do not come from the structural checks.
OTHER_MESSAGES = {
    "Missing or corrupt 'info' segment.",
    "Missing or corrupt 'announce-list' segment.",
    "Missing or corrupt 'files' segment.",
}


def structural_messages(seedlens, path):
    out = subprocess.run([seedlens, "show", "-f", "json", path], capture_output=True, text=True).stdout
    errors = json.loads(out.splitlines()[0]).get("Errors") or ""
    return [m for m in errors.split(";") if m and m not in OTHER_MESSAGES]


def main(seedlens, paths):
    accepted = flagged = 0
    for path in paths:
        try:
            lt.torrent_info(path)
        except Exception:  # refused: the checks may name why
            continue
        accepted += 1
        messages = structural_messages(seedlens, path)
        if messages:
            flagged += 1
            print("flagged:", path, ";".join(messages))
    print(f"libtorrent accepts {accepted} of {len(paths)}; Seedlens names a structural fault in {flagged} of them")
    return 1 if flagged else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
