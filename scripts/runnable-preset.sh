#!/usr/bin/env bash
# Prints the Windows preset whose programs this machine can run: the 32-bit product build where
# 32-bit programs run, else the 64-bit build.
if bash "$(dirname "$0")/runs-32-bit.sh"; then echo windows; else echo windows64; fi
