#!/usr/bin/env bash
# Installs the build into a staging folder whose path has blanks, and checks the tree
# against the expected list and the desktop and AppStream files with their validators.
#   check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix="$stage/with blanks/usr"
cmake --install "$build" --prefix "$prefix" > /dev/null
(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) > "$stage/installed.txt"
LC_ALL=C sort "$source/tests/install/expected_files.txt" > "$stage/expected.txt"
if ! diff -u "$stage/expected.txt" "$stage/installed.txt"; then
    echo "the installed files differ from tests/install/expected_files.txt"
    exit 1
fi
desktop-file-validate "$prefix/share/applications/com.quenbysoftware.Norvelle.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/com.quenbysoftware.Norvelle.metainfo.xml"
if command -v groff > /dev/null; then
    for page in "$prefix"/share/man/man1/*.1; do groff -man -Tutf8 -ww -z "$page"; done
fi
echo "install tree, desktop file and metainfo are valid"
