#!/usr/bin/env bash
# Tells whether this machine runs 32-bit Linux programs, by running one: 32-bit Wine's own loader.
# (Where 32-bit Wine could not be installed the answer is no as well.)
# Some kernels run none at all ("Exec format error"); there only 64-bit Wine can start, and so only
# the 64-bit build's programs. Exit status 0 when 32-bit programs run.
# TEMPIVO_PRETEND_NO_32_BIT=1 answers no on any machine, to try the other road.
[ "${TEMPIVO_PRETEND_NO_32_BIT:-0}" = 1 ] && exit 1
/usr/lib/wine/wine --version >/dev/null 2>&1
