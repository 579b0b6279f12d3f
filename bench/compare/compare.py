#!/usr/bin/env python3
"""Compares what Seedlens (through its plug-in), libtorrent and
transmission-show say of every torrent of a corpus, times Seedlens against
libtorrent, and writes a Markdown report.

    compare.py SEEDLENS COMPARE_PEERS CORPUS_DIR REPORT.md [BEFORE_SEEDLENS]

BEFORE_SEEDLENS, an earlier build, adds its agreement counts beside today's.
Run with Debian's python3, which has libtorrent's bindings (for the raw
bencode of each torrent)."""

import datetime
import json
import os
import re
import subprocess
import sys
from collections import defaultdict

FIELDS = ["name", "files", "total", "piece_length", "pieces", "tracker", "created", "hash", "comment", "creator",
          "private", "multifile", "sha256", "format", "magnet", "magnet_parsed"]
# Fields an earlier build is compared on too, to show what changed.
BEFORE_FIELDS = ["tracker", "private"]


def iso_seconds(text):
    """Seconds since 1970 of seedlens's ISO 8601 UTC date, fraction dropped;
    years past 9999 too, which datetime cannot hold."""
    year, month, day, hour, minute, second = map(int, re.match(r"(\d+)-(\d+)-(\d+)T(\d+):(\d+):(\d+)", text).groups())
    y = year - (month <= 2)
    era = y // 400
    yoe = y - era * 400
    doy = (153 * (month + (-3 if month > 2 else 9)) + 2) // 5 + day - 1
    days = era * 146097 + yoe * 365 + yoe // 4 - yoe // 100 + doy - 719468
    return ((days * 24 + hour) * 60 + minute) * 60 + second


def seedlens_fields(seedlens, paths):
    out = subprocess.run([seedlens, "show", "--format", "json"] + paths, capture_output=True, text=True)
    result = {}
    for line in out.stdout.splitlines():
        row = json.loads(line)
        if row["error"] is not None:
            continue  # the plug-in could not load it
        value = row.get
        created = value("Created")
        result[row["path"]] = {
            "name": value("Name") or "", "files": value("File count"), "total": value("Total Size") or 0,
            "piece_length": value("Block Size") or 0, "pieces": value("Block Count"),
            "tracker": value("Tracker") or "", "created": iso_seconds(created) if created else 0,
            "hash": value("SHA") or "", "comment": value("Comment") or "", "creator": value("Program") or "",
            "private": value("Private"), "multifile": value("Multifile"),
            "sha256": value("SHA-256") or "", "format": value("Format") or "", "magnet": value("Magnet") or ""}
    return result


def libtorrent_fields(tool, paths):
    out = subprocess.run([tool, "fields"] + paths, capture_output=True, text=True, check=True)
    rows = {row["path"]: row for row in map(json.loads, out.stdout.splitlines())}
    for path, row in rows.items():
        if "error" in row:
            continue
        row["format"] = "hybrid" if row["has_v1"] and row["has_v2"] else "v2" if row["has_v2"] else "v1"
        if not row["has_v2"]:
            del row["sha256"]  # the v2 hash is compared where there is one
        if read_differently_by_design(path):
            del row["format"]
    return rows


def raw_info(path):
    import libtorrent as lt
    with open(path, "rb") as f:
        root = lt.bdecode(f.read())
    return root if isinstance(root, dict) else {}


def read_differently_by_design(path):
    """The two shapes the plug-in reads by its "pieces" rule and libtorrent by
    "length" or "files": a "file tree" with "length" and no "pieces" (v2 here,
    a v1 part for libtorrent), and a "file tree" with "pieces" and neither
    "length" nor "files" (hybrid here, no v1 part for libtorrent)."""
    info = raw_info(path).get(b"info")
    if not isinstance(info, dict) or not isinstance(info.get(b"file tree"), dict):
        return False
    v1_list = b"length" in info or b"files" in info
    return (v1_list and b"pieces" not in info) or (b"pieces" in info and not v1_list)


def text_of(raw):
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("cp1252", errors="replace")


def no_address(item):
    return not isinstance(item, bytes) or item.strip(b" \t\n\r\f") == b""


def our_lists(path):
    """The tracker list and "url-list" web seeds by Seedlens' rules: tiers
    flattened, items that name no address skipped, duplicates dropped
    without regard to case, "announce" first unless already listed."""
    root = raw_info(path)
    trackers = []
    tiers = root.get(b"announce-list")
    if isinstance(tiers, list):
        for tier in tiers:
            if not isinstance(tier, list):
                break
            for item in tier:
                if no_address(item):
                    continue
                address = text_of(item)
                if address.lower() not in (t.lower() for t in trackers):
                    trackers.append(address)
    announce = root.get(b"announce")
    if isinstance(announce, bytes) and announce:
        address = text_of(announce)
        if address.lower() not in (t.lower() for t in trackers):
            trackers.insert(0, address)
    seeds = root.get(b"url-list")
    seeds = [seeds] if isinstance(seeds, bytes) else seeds if isinstance(seeds, list) else []
    return trackers, [text_of(s) for s in seeds if not no_address(s)]


def parsed_magnets(tool, links):
    if not links:
        return {}
    out = subprocess.run([tool, "magnet"] + links, capture_output=True, text=True, check=True)
    return {row["link"]: row for row in map(json.loads, out.stdout.splitlines())}


def magnet_parameters(link):
    return [tuple(p.split("=", 1)) for p in link[len("magnet:?"):].split("&")] if link else []


def magnet_difference(ours, theirs):
    """Why our link and libtorrent's differ, where the two rules differ."""
    mine, its = magnet_parameters(ours), magnet_parameters(theirs)
    causes = []
    if [v for k, v in mine if k == "xt"] != [v for k, v in its if k == "xt"]:
        causes.append("the info hashes differ")
    if [v for k, v in mine if k == "dn"] != [v for k, v in its if k == "dn"]:
        causes.append("the names differ: libtorrent names a v2-only torrent of one file after the file in its tree, and changes controls, slashes and trailing dots")
    if [v for k, v in mine if k == "tr"] != [v for k, v in its if k == "tr"]:
        causes.append("libtorrent ignores \"announce\" when \"announce-list\" has entries, and keeps duplicate trackers")
    if [v for k, v in mine if k == "ws"] != [v for k, v in its if k == "ws"]:
        causes.append("libtorrent escapes the path of a \"url-list\" address once more (a space becomes %2520)")
    return "; ".join(causes) or "unexplained"


SIZE_UNITS = {"B": 1, "bytes": 1, "kB": 1000, "MB": 1000**2, "GB": 1000**3, "TB": 1000**4,
              "KiB": 1024, "MiB": 1024**2, "GiB": 1024**3}


def parse_size(text):
    """A transmission size ("123.5 MB") as the range of byte counts it stands for."""
    m = re.match(r"([0-9.]+) (\w+)", text.strip())
    if not m:
        return None
    digits, unit = m.group(1), m.group(2)
    decimals = len(digits.split(".")[1]) if "." in digits else 0
    half = 0.5 * 10 ** -decimals
    scale = SIZE_UNITS.get(unit, 1)
    return ((float(digits) - half) * scale, (float(digits) + half) * scale)


def transmission_fields(path):
    out = subprocess.run(["transmission-show", path], capture_output=True, text=True,
                         env=dict(os.environ, TZ="UTC"), errors="replace")
    if out.returncode != 0:
        return {"error": (out.stderr.strip().splitlines() or ["failed"])[-1]}
    fields, section, comment, tracker, files = {}, None, None, "", 0
    for line in out.stdout.splitlines():
        if line in ("GENERAL", "TRACKERS", "FILES", "WEBSEEDS"):
            section, comment = line, None
            continue
        stripped = line.strip()
        if section == "GENERAL":
            key, _, value = stripped.partition(": ")
            if key in ("Name", "Hash", "Created by", "Created on", "Comment", "Piece Count", "Piece Size",
                       "Total Size", "Privacy"):
                fields[key] = value
                comment = key == "Comment"
            elif comment and stripped:
                fields["Comment"] += "\n" + line.strip()  # a comment of several lines
        elif section == "TRACKERS" and stripped and not stripped.startswith("Tier #") and not tracker:
            tracker = stripped
        elif section == "FILES" and stripped:
            files += 1
    created = fields.get("Created on", "")
    try:
        stamp = int(datetime.datetime.strptime(created, "%a %b %d %H:%M:%S %Y")
                    .replace(tzinfo=datetime.timezone.utc).timestamp())
    except ValueError:
        stamp = 0
    return {"name": fields.get("Name", ""), "files": files, "total": parse_size(fields.get("Total Size", "")),
            "piece_length": parse_size(fields.get("Piece Size", "")),
            "pieces": int(fields.get("Piece Count", "0")), "tracker": tracker, "created": stamp,
            "hash": fields.get("Hash", ""), "comment": fields.get("Comment", ""),
            "creator": fields.get("Created by", ""), "private": fields.get("Privacy", "").startswith("Private")}


def magnet_parsed_agrees(path, mine, parsed):
    """libtorrent reads our link back to our hashes, name, trackers and web seeds."""
    if parsed is None or "error" in parsed:
        return False
    trackers, seeds = our_lists(path)
    v1 = mine["hash"] if mine["format"] != "v2" else ""
    return (parsed["v1"], parsed["v2"], parsed["name"], parsed["trackers"], parsed["web_seeds"]) == (
        v1, mine["sha256"], mine["name"], trackers, seeds)


def agrees(field, ours, theirs):
    if isinstance(theirs, tuple):  # a size range from transmission, which rounds what it shows
        return ours is not None and theirs[0] - 1 <= ours <= theirs[1] + 1
    return ours == theirs


def transmission_skipped(ours, theirs):
    # transmission drops addresses it does not take for valid trackers: a
    # host that is not ASCII, or a scheme in capitals.
    return theirs == "" or any(ord(c) > 127 for c in ours) or re.match(r"[A-Z]+://", ours) is not None


CAUSES = [
    ("tracker", lambda o, t: transmission_skipped(o, t) and not any(ord(c) > 127 for c in t),
     "transmission-show skips tracker addresses it does not take for valid (a host that is not ASCII, a "
     "scheme in capitals), so its first tracker is a later one; Seedlens shows the first one stored"),
    ("name", lambda o, t: o.rstrip() != o or o.strip(".") == "",
     "libtorrent sanitizes names (trailing spaces and dots); Seedlens shows the name as stored"),
    ("multifile", lambda o, t: True,
     "libtorrent's multi-file test here is inferred from its file paths; Seedlens reports the \"files\" key"),
    ("comment", lambda o, t: "\n" in o or "\t" in o,
     "transmission-show prints comments of several lines or with tabs in its own layout"),
    ("created", lambda o, t: True, "creation dates outside the peer's range"),
]


def cause_of(field, ours, theirs):
    for name, test, text in CAUSES:
        if name == field and test(str(ours), str(theirs)):
            return text
    return "unexplained"


def is_v2(path):
    return "-hybrid" in os.path.basename(path) or "-v2only" in os.path.basename(path)


def timings(tool, paths, rounds):
    out = subprocess.run([tool, "speed", str(rounds)] + paths, capture_output=True, text=True, check=True)
    rows = [line.split("\t") for line in out.stdout.splitlines()[1:]]
    return {row[0]: (float(row[1]), float(row[2]), float(row[3])) for row in rows}


def main():
    seedlens, tool, corpus, report_path = sys.argv[1:5]
    before_seedlens = sys.argv[5] if len(sys.argv) > 5 else None
    torrents = os.path.join(corpus, "torrents")
    paths = sorted(os.path.join(torrents, name) for name in os.listdir(torrents) if name.endswith(".torrent"))
    ours = seedlens_fields(seedlens, paths)
    before = seedlens_fields(before_seedlens, paths) if before_seedlens else {}
    lt = libtorrent_fields(tool, paths)
    tr = {path: transmission_fields(path) for path in paths}
    parsed = parsed_magnets(tool, sorted({mine["magnet"] for mine in ours.values() if mine["magnet"]}))
    for path, mine in ours.items():
        if path in lt and "error" not in lt[path]:
            lt[path]["magnet_parsed"] = True
            mine["magnet_parsed"] = magnet_parsed_agrees(path, mine, parsed.get(mine["magnet"]))
    counts_before = {peer: defaultdict(lambda: [0, 0]) for peer in ("libtorrent", "transmission")}

    counts = {peer: defaultdict(lambda: [0, 0]) for peer in ("libtorrent", "transmission")}
    disagreements = defaultdict(list)
    for path in paths:
        mine = ours.get(path)
        for peer, theirs in (("libtorrent", lt[path]), ("transmission", tr[path])):
            if mine is None or "error" in theirs:
                reason = theirs.get("error", "") if mine is not None else "Seedlens could not load it"
                # One line for every file the peer refuses alike: its message names the file.
                reason = re.sub(r'"[^"]*"', '"…"', reason)
                if peer == "transmission" and is_v2(path):
                    reason += " (transmission 3.00, Debian 12's, reads neither hybrid nor v2 torrents)"
                disagreements[(peer, "load", reason)].append(os.path.basename(path))
                continue
            earlier = before.get(path)
            for field in BEFORE_FIELDS:
                if earlier is not None and field in theirs:
                    counts_before[peer][field][1] += 1
                    counts_before[peer][field][0] += agrees(field, earlier[field], theirs[field])
            for field in FIELDS:
                if field not in theirs:
                    continue
                counts[peer][field][1] += 1
                if agrees(field, mine[field], theirs[field]):
                    counts[peer][field][0] += 1
                else:
                    cause = cause_of(field, mine[field], theirs[field])
                    if field == "magnet":
                        cause = magnet_difference(mine[field], theirs[field])
                    if field == "name" and "-v2only" in os.path.basename(path) and mine["files"] == 1:
                        cause = ("libtorrent names a v2-only torrent of one file after the file in its tree; "
                                 "Seedlens shows its \"name\" as stored")
                    disagreements[(peer, field, cause)].append(
                        f"{os.path.basename(path)}: Seedlens {mine[field]!r}, {peer} {theirs[field]!r}")

    small = [p for p in paths if os.path.basename(p).startswith("small-") and not is_v2(p)]
    small_v2 = [p for p in paths if os.path.basename(p).startswith("small-") and is_v2(p)]
    large = [p for p in paths if os.path.basename(p).startswith("large-")]
    speed = timings(tool, small + small_v2, 15)
    speed.update(timings(tool, large, 9))

    lines = ["# Seedlens beside libtorrent and transmission", "",
             f"Corpus: {len(small)} small torrents made by mktorrent and transmission-create, "
             f"{len(small_v2)} small hybrid (v1+v2, with padding files) and v2-only torrents made by libtorrent's "
             f"creator, {len([p for p in paths if os.path.basename(p).startswith('edge-')])} made by hand with "
             "tracker items that name no address, private flags other than 1, a tracker without a scheme and "
             f"a \"source\", and {len(large)} large ones (`bench/compare/make_corpus.py`). File count and total size "
             "leave padding files out on every side; the hash is the v1 info hash, or the v2 one (SHA-256) for "
             "v2-only torrents. Seedlens is asked through its plug-in "
             "(`seedlens show --format json`), libtorrent through `compare_peers fields` (libtorrent-rasterbar "
             f"{subprocess.run(['pkg-config', '--modversion', 'libtorrent-rasterbar'], capture_output=True, text=True).stdout.strip()}), "
             "transmission through `transmission-show`.", "",
             "## Agreement, field by field", "",
             "| field | with libtorrent | with transmission-show |", "|---|---|---|"]
    for field in FIELDS:
        cells = []
        for peer in ("libtorrent", "transmission"):
            agree, total = counts[peer][field]
            cells.append(f"{agree} of {total}" if total else "not shown")
        lines.append(f"| {field} | {cells[0]} | {cells[1]} |")
    lines += ["", "sha256: the v2 info hash, where libtorrent finds a v2 part. format: v1, hybrid or v2, leaving out "
              "the two shapes read differently by design. magnet: byte for byte `make_magnet_uri`. magnet_parsed: "
              "libtorrent's `parse_magnet_uri` of our link gives our hashes, name, tracker list and web seeds."]
    if before:
        lines += ["", f"Before and after (the earlier build: `{before_seedlens}`):", "",
                  "| field | with libtorrent, before | after | with transmission-show, before | after |",
                  "|---|---|---|---|---|"]
        for field in BEFORE_FIELDS:
            cells = []
            for peer in ("libtorrent", "transmission"):
                for table in (counts_before, counts):
                    agree, total = table[peer][field]
                    cells.append(f"{agree} of {total}" if total else "not shown")
            lines.append(f"| {field} | " + " | ".join(cells) + " |")
    lines += ["", "## Disagreements and their causes", ""]
    if not disagreements:
        lines.append("None.")
    for (peer, field, cause), examples in sorted(disagreements.items()):
        lines.append(f"- **{field}**, with {peer}, {len(examples)} file(s): {cause}. For example:")
        lines += [f"  - `{example}`" for example in examples[:3]]
    lines += ["", "## Speed", "",
              "Median time to turn one file's bytes, already in memory, into a document including the info hash: "
              "Seedlens `LoadStream` against libtorrent's `torrent_info` from the same buffer, in one run.", "",
              "| input | Seedlens | libtorrent | Seedlens / libtorrent | info hash alone (SHA-1; SHA-256 for v2-only) | Seedlens / hash |",
              "|---|---|---|---|---|---|"]

    def row(label, group):
        s = sum(speed[p][0] for p in group)
        l = sum(speed[p][1] for p in group)
        h = sum(speed[p][2] for p in group)
        lines.append(f"| {label} | {s / 1e6:.3f} ms | {l / 1e6:.3f} ms | {s / l:.2f} | {h / 1e6:.3f} ms | {s / h:.2f} |")

    row(f"{len(small)} small torrents, all together", small)
    for kind in ("hybrid", "v2only"):
        group = [p for p in small_v2 if f"-{kind}-" in os.path.basename(p)]
        row(f"{len(group)} small {kind} torrents (libtorrent's creator), all together", group)
    for path in large:
        row(os.path.basename(path), [path])
    with open(report_path, "w") as out:
        out.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
