#!/usr/bin/env bash
# Unpacks the download into a fresh folder and runs the package tests against it under Wine.
# Usage: unpacked_package.sh BUILD_DIR PACKAGE.zip PACKAGE_TESTS.exe
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
package=$2
tests=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
(cd "$folder" && cmake -E tar xf "$package")
export TEMPIVO_PACKAGE_FOLDER="Z:${folder//\//\\}\\Tempivo"
"$root/scripts/wine-run.sh" "$build" "$tests" --gtest_brief=1
