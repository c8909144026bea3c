#!/usr/bin/env bash
# The medialist command line on files written by other programs (Python and the shell):
#   medialist_cli_test.sh PYTHON [RUNNER...] MEDIALIST
# RUNNER runs a Windows build under Wine. Exit status 0 when every check passed.
set -uo pipefail
python=$1
shift
tool=("$@")

work=$(mktemp -d "${TMPDIR:-/tmp}/medialist-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
run() { # expected status, stdout file, stderr file, medialist arguments...
    local expected=$1 out=$2 err=$3
    shift 3
    "${tool[@]}" "$@" >"$out" 2>"$err"
    local status=$?
    if [ "$status" -ne "$expected" ]; then
        echo "     medialist $*: exit status $status, expected $expected; stderr: $(cat "$err")"
        return 1
    fi
}
same_bytes() { cmp -s "$1" "$2" || { echo "     $1 and $2 differ"; return 1; }; }
says() { grep -q -- "$2" "$1" || { echo "     $1 does not say \"$2\": $(cat "$1")"; return 1; }; }

# A media list file written byte by byte by Python: kinds 0 to 3, an empty page address, a title in code page
# 1252, a field without a zero byte, and a trailing fragment of a record.
"$python" - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
def record(kind, title, stream, page, fill=b"\0"):
    r = bytearray(fill * 9264)
    struct.pack_into("<H", r, 0, kind)
    for offset, text in ((2, title), (262, b"unread"), (522, stream), (782, page)):
        r[offset:offset + 260] = text.ljust(260, b"\0")[:260]
    return bytes(r)
header = struct.pack("<II", 4294967295, 64) + b"\xAB" * 56
records = [
    record(1, b"Beta", b"mms://b", b"http://b/"),
    record(2, b"Hidden", b"mms://h", b"http://h/"),
    record(0, b"alpha", b"mms://a", b""),
    record(3, b"\xc9t\xe9 \x80", b"mms://e", b"http://e/"),
    record(1, b"", b"mms://untitled", b"http://u/"),
    record(1, b"No stream", b"", b"http://n/"),
    record(1, b"G" * 260, b"mms://g", b"http://g/", fill=b"\x7f"),
]
with open(work + "/python.slv", "wb") as f:
    f.write(header + b"".join(records) + b"\x01" * 100)
expected = (b"Beta\thttp://b/\tmms://b\n"
            b"alpha\t\tmms://a\n"
            b"\xc9t\xe9 \x80\thttp://e/\tmms://e\n"
            + b"G" * 259 + b"\thttp://g/\tmms://g\n")
with open(work + "/python.expected", "wb") as f: f.write(expected)
with open(work + "/python.expected.utf8", "wb") as f: f.write(expected.decode("cp1252").encode("utf-8"))

# Header cases.
with open(work + "/seven.slv", "wb") as f: f.write(struct.pack("<II", 1, 64)[:7])
with open(work + "/eight.tsl", "wb") as f: f.write(struct.pack("<II", 1, 64))
with open(work + "/first-zero.slv", "wb") as f: f.write(struct.pack("<II", 0, 64) + bytes(56))
with open(work + "/second-65.slv", "wb") as f: f.write(struct.pack("<II", 1, 65) + bytes(56))

# A UTF-8 source and the file it must give, laid out here independently of the tool.
src = "Beta\thttp://b/\tmms://b\r\n\n\u00c9t\u00e9 \u20ac\t\tmms://e\t2\nalpha\thttp://a/\tmms://a\t258\n"
with open(work + "/in.tsv", "wb") as f: f.write(b"\xef\xbb\xbf" + src.encode("utf-8"))
image = bytearray(struct.pack("<II", 1, 64) + bytes(56))
for kind, title, page, stream in ((0, b"Beta", b"http://b/", b"mms://b"), (2, b"\xc9t\xe9 \x80", b"", b"mms://e"),
                                  (258, b"alpha", b"http://a/", b"mms://a")):
    r = bytearray(9264)
    struct.pack_into("<H", r, 0, kind)
    r[2:2 + len(title)] = title
    r[522:522 + len(stream)] = stream
    r[782:782 + len(page)] = page
    image += r
with open(work + "/in.expected.slv", "wb") as f: f.write(image)

# Bad sources: each names its line.
bad = {
    "missing": "a\tp\ts\nb\tp\n",
    "long": "a\tp\ts\nb\tp\ts\n" + "c" * 260 + "\tp\ts\n",
    "outside": "a\tp\ts\n\u4e2d\tp\ts\n",
    "several": "a\tp\ts\nb\tp\nc\tp\ts\n\u4e2d\tp\ts\n",
}
for name, text in bad.items():
    with open(work + "/" + name + ".tsv", "wb") as f: f.write(text.encode("utf-8"))
with open(work + "/latin1.tsv", "wb") as f: f.write(b"ok\tp\ts\n\xe9t\xe9\tp\ts\n")
PY

# The shell writes one too: a 64-byte file with a valid header.
{ printf '\x01\x00\x00\x00\x40\x00\x00\x00'; head -c 56 /dev/zero; } >"$work/shell.slv"

w=$work
check "dump of a file written by Python" run 0 "$w/out" "$w/err" dump "$w/python.slv"
check "  prints the accepted entries in file order, in UTF-8" same_bytes "$w/out" "$w/python.expected.utf8"
check "dump --raw of the same file" run 0 "$w/out" "$w/err" dump --raw "$w/python.slv"
check "  prints the file's own code page 1252 bytes" same_bytes "$w/out" "$w/python.expected"
check "dump of a 64-byte header written by the shell" run 0 "$w/out" "$w/err" dump "$w/shell.slv"
check "  prints nothing" same_bytes "$w/out" /dev/null
check "dump of 8 bytes holding 1 and 64 (any extension)" run 0 "$w/out" "$w/err" dump "$w/eight.tsl"
check "dump of 7 bytes is not valid" run 2 "$w/out" "$w/err" dump "$w/seven.slv"
check "  and says so" says "$w/err" "not a valid media list"
check "dump with first value 0 is not valid" run 2 "$w/out" "$w/err" dump "$w/first-zero.slv"
check "dump with second value 65 is not valid" run 2 "$w/out" "$w/err" dump "$w/second-65.slv"
check "dump of a missing file" run 1 "$w/out" "$w/err" dump "$w/absent.slv"
check "  says it cannot open it" says "$w/err" "cannot open"

check "build from UTF-8" run 0 "$w/out" "$w/err" build "$w/in.tsv" "$w/built.slv"
check "  gives the expected bytes" same_bytes "$w/built.slv" "$w/in.expected.slv"
check "  warns of the kind 2 entry on line 3" says "$w/err" "in.tsv:3: warning: entryKind 2"
check "  and counts what it wrote" says "$w/err" "3 entries written"
check "  which dump reads back (kind 2 not offered)" run 0 "$w/out" "$w/err" dump "$w/built.slv"
printf 'Beta\thttp://b/\tmms://b\nalpha\thttp://a/\tmms://a\n' >"$w/built.expected"
check "  as the entries it would offer" same_bytes "$w/out" "$w/built.expected"

for bad in missing:2:missing long:3:260 outside:2:U+4E2D latin1:2:UTF-8 several:2:missing several:4:U+4E2D; do
    IFS=: read -r name line said <<<"$bad"
    check "build refuses $name.tsv" run 2 "$w/out" "$w/err" build "$w/$name.tsv" "$w/$name.slv"
    check "  naming line $line and why ($said)" says "$w/err" "$name.tsv:$line: .*$said"
    check "  saying nothing was written" says "$w/err" "nothing written"
    check "  leaving no output file" test ! -e "$w/$name.slv"
done
printf 'Seul\thttp://s/\tmms://s\n' >"$w/one.tsv"
check "build of one entry" run 0 "$w/out" "$w/err" build "$w/one.tsv" "$w/one.slv"
check "  says 1 entry" says "$w/err" "1 entry written"
check "build from a missing source" run 1 "$w/out" "$w/err" build "$w/absent.tsv" "$w/absent.slv"
check "  says why" says "$w/err" "absent.tsv: No such file"
check "  leaves no output file" test ! -e "$w/absent.slv"
check "a wrong command line shows the usage" run 2 "$w/out" "$w/err" frobnicate
check "  after saying what was wrong" says "$w/err" 'unknown command "frobnicate"'
check "  which says the source is UTF-8" says "$w/err" "UTF-8"
for help in --help -h; do
    check "$help prints the usage and succeeds" run 0 "$w/out" "$w/err" "$help"
    check "  on standard output" says "$w/out" "usage: medialist build"
done
check "no temporary file left behind" test -z "$(find "$w" -name '*.partial')"

echo "$failures failed"
[ "$failures" -eq 0 ]
