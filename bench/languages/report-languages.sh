#!/bin/sh
# Prints the quality report of every shipped language: base size and load
# time, character shares of generated text against the corpus, real words in
# generated text, and the effect of one error's weight on the next text.
#
# usage: bench/languages/report-languages.sh CORPUS_DIR [BUILD_DIR]
#   BUILD_DIR: a build tree with the benchmarks (default: build/run, the tree of run.sh), configured with
#   -DKEXORA_BUILD_BENCH=ON if it is missing.
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 CORPUS_DIR [BUILD_DIR]" >&2
    exit 2
fi
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
CORPUS_DIR=$(cd "$1" && pwd)
BUILD_DIR=${2:-$ROOT/build/run}
LANG_DIR=$ROOT/tools/languages
BASE_DIR=$ROOT/data/Modules/Languages

cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEXORA_BUILD_TESTS=OFF -DKEXORA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" -j2 --target kexora-language-report >/dev/null

TAB=$(printf '\t')
grep -v '^#' "$LANG_DIR/languages.tsv" | while IFS=$TAB read -r name corpus codepage charset wordlength; do
    [ -n "$name" ] || continue
    set -- --codepage "$codepage" --charset "$charset" --depth 4 \
        --alphabet "$LANG_DIR/$name.alphabet" -o "$BASE_DIR/$name.Base"
    if [ -f "$LANG_DIR/$name.fold" ]; then
        set -- "$@" --fold "$LANG_DIR/$name.fold"
    fi
    "$BUILD_DIR/bin/kexora-language-report" "$@" "$CORPUS_DIR/$corpus"
done
