#!/bin/sh
# Runs the full-disk save of stream_test on a file system of 64 KiB. Mounting needs root;
# elsewhere the test runs without the folder and reports itself skipped.
test_program=$1
case "$test_program" in *.exe) run="wine $test_program" ;; *) run=$test_program ;; esac
filter=--gtest_filter=FullDiskTest.*
folder=$(mktemp -d) || exit 1
if mount -t tmpfs -o size=64k tmpfs "$folder" 2>/dev/null; then
    trap 'umount "$folder"; rmdir "$folder"' EXIT INT TERM
    windows_folder="Z:$(printf '%s' "$folder" | tr / '\\')\\"
    LUMBRA_FULL_FOLDER=$windows_folder $run "$filter"
else
    rmdir "$folder"
    echo "cannot mount a tmpfs here (not root?): the full-disk test is skipped"
    $run "$filter"
fi
