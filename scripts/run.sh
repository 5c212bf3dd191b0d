#!/usr/bin/env bash
# Builds the authoring tool and shows its work on the sample answers: each typed answer judged as
# the player judges it, then a packed round trip of the same file with the quiz codec.
set -eu
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target trivo-make >/dev/null
TOOL=build/native/trivo-make
SAMPLE=examples/judge-sample.tsv

echo "Expected answer | typed answer -> verdict"
paste <(cut -f1,2 "$SAMPLE" | sed 's/\t/ | /') <("$TOOL" judge <"$SAMPLE") | sed 's/\t/ -> /'

"$TOOL" pack "$SAMPLE" build/sample.lzw
"$TOOL" unpack build/sample.lzw build/sample.out
cmp -s "$SAMPLE" build/sample.out
echo "Packed $SAMPLE: $(wc -c <"$SAMPLE") bytes -> $(wc -c <build/sample.lzw) bytes, unpacked back identical."
