#!/bin/sh
# Rebuilds the base and information file of every shipped language from the
# corpora in CORPUS_DIR (one UTF-8 file per language, named in
# tools/languages/languages.tsv). The results go to data/Modules/Languages/
# and are committed, so building the program needs no corpus.
#
# usage: tools/make-languages.sh CORPUS_DIR [BUILD_DIR]
#   BUILD_DIR: a build tree with kexora-basebuild (default: build/run, the tree of run.sh,
#   configured if it is missing).
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 CORPUS_DIR [BUILD_DIR]" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CORPUS_DIR=$(cd "$1" && pwd)
BUILD_DIR=${2:-$ROOT/build/run}
LANG_DIR=$ROOT/tools/languages
OUT_DIR=$ROOT/data/Modules/Languages

if [ ! -x "$BUILD_DIR/bin/kexora-basebuild" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEXORA_BUILD_TESTS=OFF -DKEXORA_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$BUILD_DIR" -j2 --target kexora-basebuild >/dev/null
TOOL=$BUILD_DIR/bin/kexora-basebuild
mkdir -p "$OUT_DIR"

TAB=$(printf '\t')
grep -v '^#' "$LANG_DIR/languages.tsv" | while IFS=$TAB read -r name corpus codepage charset wordlength; do
    [ -n "$name" ] || continue
    set -- --codepage "$codepage" --charset "$charset" --depth 4 --name "$name" \
        --alphabet "$LANG_DIR/$name.alphabet" \
        --info "$OUT_DIR/$name.Info" -o "$OUT_DIR/$name.Base"
    if [ -f "$LANG_DIR/$name.fold" ]; then
        set -- "$@" --fold "$LANG_DIR/$name.fold"
    fi
    if [ "$wordlength" != "-" ]; then
        set -- "$@" --word-length "$wordlength"
    fi
    echo "== $name"
    "$TOOL" "$@" "$CORPUS_DIR/$corpus"
done
