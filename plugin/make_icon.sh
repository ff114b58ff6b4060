#!/bin/sh
# Writes the plug-in's icon file (one 32 x 32 image, 16 colours) from its text picture, so that
# the picture stays reviewable as text. Usage: make_icon.sh PICTURE OUTPUT.ICO
set -eu
picture=$1
output=$2
bytes=$(awk '
function byte(v) { out = out sprintf("\\%03o", v % 256) }
function word(v) { byte(v); byte(int(v / 256)) }
function dword(v) { word(v % 65536); word(int(v / 65536)) }
/^#/ { next }
{ row[n++] = $0 }
END {
    if (n != 32) { print "picture must have 32 rows" > "/dev/stderr"; exit 1 }
    for (y = 0; y < 32; y++)
        if (length(row[y]) != 32) { print "row " y + 1 " must have 32 pixels" > "/dev/stderr"; exit 1 }
    image = 40 + 64 + 32 * 16 + 32 * 4
    # icon directory and its one entry
    word(0); word(1); word(1)
    byte(32); byte(32); byte(16); byte(0); word(1); word(4); dword(image); dword(22)
    # bitmap header: the height counts the colour rows and the mask rows
    dword(40); dword(32); dword(64); word(1); word(4); dword(0); dword(32 * 16 + 32 * 4)
    dword(0); dword(0); dword(16); dword(0)
    split("000000 800000 008000 808000 000080 800080 008080 C0C0C0 808080 FF0000 00FF00 FFFF00 0000FF FF00FF 00FFFF FFFFFF", palette, " ")
    for (i = 1; i <= 16; i++) {
        byte(hex(substr(palette[i], 5, 2))); byte(hex(substr(palette[i], 3, 2)))
        byte(hex(substr(palette[i], 1, 2))); byte(0)
    }
    # rows bottom up, two pixels a byte, then the transparency mask
    for (y = 31; y >= 0; y--)
        for (x = 1; x <= 32; x += 2)
            byte(16 * pixel(substr(row[y], x, 1)) + pixel(substr(row[y], x + 1, 1)))
    for (y = 31; y >= 0; y--)
        for (x = 1; x <= 32; x += 8) {
            m = 0
            for (b = 0; b < 8; b++)
                m = m * 2 + (substr(row[y], x + b, 1) == ".")
            byte(m)
        }
    printf "%s", out
}
function hex(s) { return index("0123456789ABCDEF", substr(s, 1, 1)) * 16 - 16 + index("0123456789ABCDEF", substr(s, 2, 1)) - 1 }
function pixel(c) {
    if (c == ".") return 0
    v = index("0123456789ABCDEF", toupper(c))
    if (v == 0) { print "unknown pixel " c > "/dev/stderr"; exit 1 }
    return v - 1
}
' "$picture")
printf "$bytes" >"$output"
