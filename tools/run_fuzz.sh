#!/bin/sh
# Runs the fuzz targets built in the given folder for the given seconds each, from a corpus
# inside that folder (new inputs never land in the repository). Called by `make fuzz`.
# Fails when a target reports anything or leaves anything in its artifacts folder during
# this run; the findings of an earlier run are moved to "<build>/artifacts-previous" first.
set -e
BUILD="$1"
SECONDS_EACH="${2:-60}"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SEEDS="$ROOT/tests/fuzz/seeds"

if [ -d "$BUILD/artifacts" ] && [ -n "$(ls -A "$BUILD/artifacts")" ]; then
    rm -rf "$BUILD/artifacts-previous"
    mv "$BUILD/artifacts" "$BUILD/artifacts-previous"
    echo "earlier findings moved to $BUILD/artifacts-previous"
fi
mkdir -p "$BUILD/corpus/buffer" "$BUILD/corpus/xml" "$BUILD/corpus/save" "$BUILD/corpus/font" "$BUILD/corpus/trajectories" "$BUILD/corpus/particles" "$BUILD/corpus/movie" "$BUILD/corpus/scene" "$BUILD/artifacts"
cp "$SEEDS"/buffer/* "$BUILD/corpus/buffer/"
cp "$SEEDS"/saves/* "$BUILD/corpus/save/"
cp "$SEEDS"/trajectories/* "$ROOT/assets/trajectories.dat" "$BUILD/corpus/trajectories/"
cp "$SEEDS"/xml/* "$ROOT/tests/data/core/attribute_readers.xml" "$ROOT/tests/data/core/sections.ini" "$BUILD/corpus/xml/"
# Every shipped XML file, flattened to one name per path.
(cd "$ROOT/assets" && find . -name '*.xml' -type f) | while read -r f; do
    cp "$ROOT/assets/$f" "$BUILD/corpus/xml/asset_$(echo "${f#./}" | tr '/' '_')"
done
cp "$SEEDS"/font/* "$ROOT"/assets/fonts/*.txt "$BUILD/corpus/font/"
cp "$SEEDS"/particles/* "$BUILD/corpus/particles/"
# Every shipped INI file, flattened the same way.
(cd "$ROOT/assets" && find . -name '*.ini' -type f) | while read -r f; do
    cp "$ROOT/assets/$f" "$BUILD/corpus/particles/asset_$(echo "${f#./}" | tr '/' '_')"
done

# Movie inputs start with three bytes the target reads as loops, mask and mask offset; the
# shipped movies are cut to the length limit.
for f in "$SEEDS"/movie/*.ogv "$ROOT"/assets/textures/movies/*.ogv; do
    for mode in 00 05; do
        { printf "\\$mode\\000\\000"; head -c 16381 "$f"; } > "$BUILD/corpus/movie/$mode-$(basename "$f")"
    done
done

# Scene inputs: the menu's space file and a saved state of the shipped menu.
cp "$SEEDS"/scene/* "$ROOT/assets/mainmenu.xml" "$BUILD/corpus/scene/"

status=0
for target in buffer xml save font trajectories particles movie scene; do
    # A target with its own dictionary of tokens uses it; the readers share one.
    dict="$ROOT/tests/fuzz/$target.dict"
    [ -f "$dict" ] || dict="$ROOT/tests/fuzz/readers.dict"
    echo "fuzzing $target for $SECONDS_EACH s"
    # 16 KB keeps TinyXML's one-call-per-nesting-level recursion far from the stack's end.
    if ! "$BUILD/${target}_fuzz" "$BUILD/corpus/$target" \
        -max_total_time="$SECONDS_EACH" -max_len=16384 -timeout=10 \
        -dict="$dict" -artifact_prefix="$BUILD/artifacts/$target-" \
        -print_final_stats=1; then
        status=1
    fi
done
if [ -n "$(ls -A "$BUILD/artifacts")" ]; then
    echo "fuzz findings in $BUILD/artifacts:"
    ls -l "$BUILD/artifacts"
    status=1
fi
[ "$status" -eq 0 ] && echo "fuzz: no findings"
exit "$status"
