#!/bin/sh
# news-to-changelog.sh NEWS PACKAGE MAINTAINER OUT
# Writes NEWS as a Debian changelog to OUT: the changelog.gz of a native
# package, one entry a version, signed by MAINTAINER ("Name <address>") on
# the day the version was released. NEWS is in the text form AppStream reads
# (appstreamcli news-to-metainfo), newest first:
#
#   Version 1.0.0
#   ~~~~~~~~~~~~~
#   Released: 2026-12-09
#
#   Features:
#    * One change,
#      going on here.
#
# A version without its day, or a day that is no date, stops it with one
# line naming NEWS and the version.
set -eu
news=$1 package=$2 maintainer=$3 out=$4

LC_ALL=C awk -v news="$news" -v package="$package" -v maintainer="$maintainer" '
function fail(why) { print news ": " why > "/dev/stderr"; failed = 1; exit 1 }
# The day as a changelog signs it, "Wed, 09 Dec 2026 00:00:00 +0000".
function signed(day,   command, said) {
    if (day !~ /^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/)
        fail("version " version " was released on \"" day "\", which is not a date as 2026-12-09")
    command = "date -u -R -d " day " 2> /dev/null"
    if ((command | getline said) <= 0 || said == "")
        fail("version " version " was released on " day ", which is no day of the calendar")
    close(command)
    return said
}
function end_entry() {
    if (version == "") return
    if (day == "") fail("version " version " has no \"Released:\" line")
    printf "\n -- %s  %s\n", maintainer, signed(day)
}
/^Version / {
    end_entry()
    version = $2; day = ""
    if (printed++) print ""
    printf "%s (%s) unstable; urgency=medium\n\n", package, version
    next
}
version == "" || /^[~=-]+$/ || /^[ \t]*$/ { next }
/^Released: / { day = $2; next }
# A heading such as "Features:", then its items and their lines.
/^[^ ]/ { print "  " $0; next }
/^ \* / { print "  " substr($0, 2); next }
{ sub(/^ +/, ""); print "    " $0 }
END {
    if (failed) exit 1
    if (!printed) fail("it holds no \"Version\" line")
    end_entry()
}' "$news" > "$out"
