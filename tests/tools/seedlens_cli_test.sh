#!/usr/bin/env bash
# `seedlens` as a script or a person meets it: exit statuses, arguments,
# reasons, write errors, unreadable folders, long texts, a terminal.
set -uo pipefail
seedlens=$(realpath "$1")
source_dir=$2
bin_dir=$(dirname "$seedlens")
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# expect STATUS NAME COMMAND...: runs it with stdout and stderr kept in $work/out and $work/err.
expect() {
  local want=$1 name=$2; shift 2
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "$name: exit status $got, expected $want (stderr: $(head -c 300 "$work/err"))"
}
has() { grep -qF -- "$2" "$work/$1" || fail "$3: $1 lacks '$2'"; }

python3 - "$work" "$source_dir/scripts" <<'PY'
import sys
sys.path.insert(0, sys.argv[2])
from bencoding import bencode
info = {"name": "n", "length": 1, "piece length": 16384, "pieces": b"x" * 20}
def write(name, **top):
    open(f"{sys.argv[1]}/{name}", "wb").write(bencode(dict(top, info=info)))
write("long.torrent", comment="c" * 10000 + "END")
write("hostile.torrent", comment="\x1b[2J\x1b]0;owned\x07 \u009b31m line1\nline2", **{"creation date": 1387309701})
# Controls in a name, a comment, a tracker and the file's own name.
info = dict(info, name="n\x1b]0;name\x07")
write("ctl-\x1b]0;file\x07\u009b.torrent", comment="c\x1b]0;comment\x07\u009b",
      announce="http://t.example/\x1b]0;tracker\x07")
PY
ex=$source_dir/examples
cd "$work"

# Exit statuses, and where help and usage go.
expect 0 "one good file" "$seedlens" show "$ex/single-file.torrent"
expect 1 "a broken file" "$seedlens" show "$ex/broken/not-bencoded.torrent"
has err "not-bencoded.torrent: not a torrent" "a broken file"
expect 2 "no arguments" "$seedlens"
[ -s out ] && fail "no arguments: usage on stdout"
has err "Usage: seedlens" "no arguments"
expect 2 "unknown option" "$seedlens" show --frmat json x
has err "--frmat" "unknown option"
# Arguments that could be read two ways: the message says which way they were.
while IFS='|' read -r message arguments <&3; do
  read -ra argv <<<"$arguments"
  expect 2 "$arguments" "$seedlens" "${argv[@]}"
  head -n1 err | grep -qF -- "seedlens: $message" || fail "$arguments: $(head -n1 err)"
done 3<<'CASES'
unknown option '-dash.torrent'; a path that begins with a dash goes after '--'|show -dash.torrent
unknown option '-r-x.torrent'|show -r-x.torrent a.torrent
unknown option '-r-x.torrent'|show -r-x.torrent
'-': standard input is not read|show -
CASES
# A folder without torrents is told, and is no failure.
mkdir nothing
expect 0 "empty folder" "$seedlens" show nothing
has err "seedlens: nothing: holds no *.torrent" "empty folder"
[ -s out ] && fail "empty folder: wrote to stdout"
expect 0 "show --help" "$seedlens" show --help
has out "Exit status: 0" "show --help"
[ -s err ] && fail "show --help wrote to stderr"
expect 3 "missing plug-in" "$seedlens" show --plugin /nonexistent/Seedlens.wdx "$ex"
has err "cannot load the plug-in /nonexistent/Seedlens.wdx: " "missing plug-in"
[ "$(grep -o /nonexistent/Seedlens.wdx err | wc -l)" -eq 1 ] || fail "missing plug-in: path named more than once"
expect 3 "not a plug-in" "$seedlens" fields --plugin "$ex/single-file.torrent"

# --version: the project's version and the plug-in it would load.
expect 0 "--version" "$seedlens" --version
grep -qE '^seedlens [0-9]+\.[0-9]+\.[0-9]+$' out || fail "--version: $(cat out)"
has out "$bin_dir/Seedlens.wdx" "--version"

# Without --plugin: beside the executable, else ../lib/seedlens/; both named when neither has it.
mkdir -p inst/bin inst/lib/seedlens
cp "$seedlens" inst/bin/
expect 3 "no plug-in anywhere" inst/bin/seedlens show "$ex"
has err "$work/inst/bin/Seedlens.wdx" "no plug-in anywhere"
has err "$work/inst/lib/seedlens/Seedlens.wdx" "no plug-in anywhere"
cp "$bin_dir/Seedlens.wdx" inst/lib/seedlens/
expect 0 "installed layout" inst/bin/seedlens show "$ex/single-file.torrent"

# --opt=value, short options, --, and a bare plug-in name in the current folder.
cp "$ex/single-file.torrent" ./-r.torrent
expect 0 "--format=json and --" "$seedlens" show --format=json -- -r.torrent
has out '{"path": "-r.torrent", "error": null' "--format=json and --"
cp "$bin_dir/Seedlens.wdx" ./Seedlens.wdx
expect 0 "bare --plugin name" "$seedlens" show -p Seedlens.wdx -f csv ./-r.torrent
has out "path,error,Name" "bare --plugin name"

# Reasons, on stderr and in the error field; CSV keeps its header when nothing loads.
: >empty.torrent; mkfifo fifo.torrent
truncate -s $((256 * 1024 * 1024 + 1)) huge.torrent
expect 1 "reasons" "$seedlens" show -f csv missing.torrent empty.torrent fifo.torrent huge.torrent
for line in "missing.torrent,no such file" "empty.torrent,empty" \
            "fifo.torrent,not a regular file" "huge.torrent,\"larger than 256 MiB, the most the plug-in reads\""; do
  has out "$line" "reasons"
done
head -n1 out | grep -q '^path,error,Name,' || fail "reasons: CSV without its header"
has err "seedlens: fifo.torrent: not a regular file" "reasons"

# Long texts whole in JSON and CSV; the table shows a file manager's column, marked as cut.
expect 0 "long json" "$seedlens" show -f json long.torrent
python3 -c 'import json,sys; c=json.loads(open("out").read())["Comment"]; sys.exit(c != "c"*10000+"END")' \
  || fail "long json: the comment was cut"
expect 0 "long csv" "$seedlens" show -f csv long.torrent
grep -qF ",$(printf 'c%.0s' $(seq 10000))END," out || fail "long csv: the comment was cut"
expect 0 "long table" "$seedlens" show long.torrent
grep -qE "^  Comment +c{2047}…$" out || fail "long table: no cut mark"

# Write errors: status 4 and the reason, for every command.
for args in "show $ex/single-file.torrent" "show -f json $ex/single-file.torrent" "fields" "--help" "--version"; do
  # shellcheck disable=SC2086
  "$seedlens" $args >/dev/full 2>"$work/err"
  status=$?
  [ "$status" -eq 4 ] || fail "/dev/full ($args): exit status $status, expected 4"
  has err "seedlens: write error: No space left on device" "/dev/full ($args)"
done
# A closed pipe: SIGPIPE ends the command as usual; ignored, it is a write error.
python3 - "$seedlens" "$ex" <<'PY' || failed=1
import os, signal, subprocess, sys
def run(ignore):
    read, write = os.pipe()
    os.close(read)
    handler = signal.SIG_IGN if ignore else signal.SIG_DFL
    p = subprocess.run([sys.argv[1], "show", sys.argv[2]], stdout=write, stderr=subprocess.PIPE,
                       preexec_fn=lambda: signal.signal(signal.SIGPIPE, handler))
    os.close(write)
    return p.returncode, p.stderr.decode()
status, err = run(ignore=False)
ok = status == -signal.SIGPIPE
status2, err2 = run(ignore=True)
ok = ok and status2 == 4 and "seedlens: write error: Broken pipe" in err2
if not ok: print(f"FAIL: closed pipe: default {status}, ignored {status2} {err2!r}")
sys.exit(0 if ok else 1)
PY

# Unreadable folders, and a subfolder with --recursive: reported, status 1. Root
# reads any folder, so as root the command runs as nobody, from a copy it can reach.
mkdir -p tree/open tree/shut top/shut2 runner
cp "$ex/single-file.torrent" tree/open/; cp "$ex/single-file.torrent" top/shut2/
cp "$seedlens" "$bin_dir/Seedlens.wdx" runner/
chmod 000 tree/shut top/shut2
chmod 755 "$work" tree top runner
as_reader=()
if [ "$(id -u)" -eq 0 ]; then as_reader=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
expect 1 "unreadable subfolder" "${as_reader[@]}" runner/seedlens show -r tree
has err "tree/shut: cannot read the folder: Permission denied" "unreadable subfolder"
has out "tree/open/single-file.torrent" "unreadable subfolder"
expect 1 "unreadable folder" "${as_reader[@]}" runner/seedlens show top/shut2
has err "top/shut2: cannot read the folder" "unreadable folder"
expect 0 "subfolders only" "$seedlens" show tree
has err "add --recursive" "subfolders only"

# On a terminal: control characters escaped, lines indented, local time with its offset.
TZ=ABC-1 script -qec "$seedlens show hostile.torrent" /dev/null >terminal.txt 2>&1
grep -qF '\e[2J\e]0;owned\a \x9b31m line1' terminal.txt || fail "terminal: controls not escaped: $(cat -v terminal.txt)"
grep -qP '\x1b|\xc2\x9b' terminal.txt && fail "terminal: raw control characters"
grep -qE '^ {23}line2' terminal.txt || fail "terminal: continuation line not indented"
grep -qF '2013-12-17 20:48:21 +01:00' terminal.txt || fail "terminal: no local time"
# Every format on a terminal: no control reaches it raw, from the file name,
# the name, the comment or the tracker. Piped, CSV keeps the bytes.
for format in table json csv; do
  script -qec "$seedlens show -f $format ctl-*.torrent" /dev/null >terminal.txt 2>&1
  grep -qP '\x1b|\x07|\xc2[\x80-\x9f]' terminal.txt && fail "terminal, $format: raw controls: $(cat -v terminal.txt)"
  for text in name comment tracker file; do grep -qF "]0;$text" terminal.txt || fail "terminal, $format: no $text"; done
done
"$seedlens" show -f csv ctl-*.torrent >piped.csv
for text in name comment tracker file; do
  grep -qP "\x1b\]0;$text\x07" piped.csv || fail "pipe, csv: $text changed: $(cat -v piped.csv)"
done
# Piped, the table keeps the bytes; JSON keeps UTC.
"$seedlens" show hostile.torrent | grep -qP '\x1b\[2J' || fail "pipe: text changed"
"$seedlens" show -f json hostile.torrent | grep -qF '"Created": "2013-12-17T19:48:21Z"' || fail "json: not UTC"

[ "$failed" -eq 0 ] && echo "seedlens command line: ok"
exit "$failed"
