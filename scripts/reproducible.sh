#!/usr/bin/env bash
# Builds the downloads of a Windows preset again from a copy of the sources in another folder and
# compares them byte for byte with the build here: the same commit must give the same horavo.exe,
# zip and MSI wherever it is built. Prints each file's SHA-256.
# Usage: reproducible.sh PRESET   (after the preset's package_msi is built here)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
preset=$1
elsewhere=$(mktemp -d /tmp/tempivo-elsewhere-XXXXXX)
trap 'rm -rf "$elsewhere"' EXIT
# The sources as git has them, in a folder of another name and depth.
(cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$elsewhere" 2>/dev/null || true)
mkdir -p "$elsewhere/build"
cp -r "$root/build/native" "$elsewhere/build/" 2>/dev/null || true  # the help's checker and the responder
(cd "$elsewhere" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" \
    --target package_msi >/dev/null)
status=0
for file in horavo.exe $(cd "$root/build/$preset" && ls tempivo-*.zip tempivo-*.msi); do
    here=$root/build/$preset/$file
    there=$elsewhere/build/$preset/$file
    if cmp -s "$here" "$there"; then
        echo "same: $(sha256sum "$here" | cut -d' ' -f1)  $file"
    else
        echo "DIFFERENT: $file ($(sha256sum "$here" | cut -d' ' -f1) here, $(sha256sum "$there" | cut -d' ' -f1) elsewhere)"
        status=1
    fi
done
exit "$status"
