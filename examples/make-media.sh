#!/usr/bin/env bash
# Makes the media of the sample quizzes animaux (spoken riddles) and formes (short
# films). The files are committed, so building a quiz needs none of these tools; run this again only
# to change them. capitales is a text quiz and has no media. (drapeaux has its own script.)
#
# Needs the Debian packages espeak-ng, lame, ffmpeg, and imagemagick:
#   apt-get install -y espeak-ng lame ffmpeg imagemagick
#
# The same tool versions give the same bytes: no time stamps, no random input, and ffmpeg is told to
# leave its version out of the files (bitexact).
#
# Usage: examples/make-media.sh [animaux|formes]...   (no argument: both)
set -eu
cd "$(dirname "$0")"

missing=()
command -v espeak-ng >/dev/null || missing+=(espeak-ng)
command -v lame >/dev/null || missing+=(lame)
command -v ffmpeg >/dev/null || missing+=(ffmpeg)
command -v convert >/dev/null || missing+=(imagemagick)
if [ ${#missing[@]} -gt 0 ]; then
  echo "make-media.sh: missing tools; install them with:" >&2
  echo "  apt-get install -y ${missing[*]}" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---------------------------------------------------------------------------------------------
# animaux: one spoken riddle per animal (MP3).

# speak NAME TEXT: espeak-ng's French voice at a calm pace, then MP3 at 32 kbit/s mono, which keeps
# a riddle of a few seconds near 20 KB and still clear (speech needs no more).
speak() {
  espeak-ng -v fr -s 140 -w "$work/$1.wav" "$2"
  lame --quiet -m m -b 32 "$work/$1.wav" "animaux/media/$1.mp3"
}

make_animaux() {
  mkdir -p animaux/media
  speak lion "Je suis le roi de la savane, et je rugis très fort. Qui suis-je ?"
  speak girafe "J'ai un très long cou, et je mange les feuilles tout en haut des arbres. Qui suis-je ?"
  speak vache "Je vis dans le pré, je fais meuh, et je donne du lait. Qui suis-je ?"
  speak hibou "Je dors le jour, je chasse la nuit, et je fais hou hou. Qui suis-je ?"
  speak escargot "Je porte ma maison sur mon dos, et j'avance très lentement. Qui suis-je ?"
  speak dauphin "Je vis dans la mer et je saute hors de l'eau, mais je ne suis pas un poisson. Qui suis-je ?"

}

# ---------------------------------------------------------------------------------------------
# formes: one short film per shape, 200 x 150 (the player's film box), 10 frames a second, 2.5 s,
# without sound. The shape crosses the picture and turns, changing colour; the player names it.
# Motion JPEG in AVI: DirectShow on Windows has its own MJPEG decoder, and Wine plays it through
# GStreamer's JPEG decoder (gstreamer1.0-plugins-good). Microsoft Video 1 would suit old Windows
# too, but Wine 8's film graph cannot render it ("no combination of filters"), and raw frames would
# be 90 KB each.

# film NAME POINTS: POINTS is the shape's outline around (0, 0) as an ImageMagick polygon, or
# "circle"; every frame moves and turns it along a fixed path.
film() {
  local name=$1 shape=$2 i x y angle colour draw frames=25
  local colours=('#E85038' '#F0A028' '#38B048' '#3870E0' '#9848C8')
  rm -f "$work"/f*.png
  for ((i = 0; i < frames; i++)); do
    x=$((30 + i * 140 / (frames - 1)))                      # from left to right
    y=$((75 + (i % 12 < 6 ? i % 12 : 12 - i % 12) * 6 - 18)) # a gentle bounce
    angle=$((i * 12))
    colour=${colours[$((i * 5 / frames))]}                  # a new colour every half second
    if [ "$shape" = circle ]; then
      draw="translate $x,$y circle 0,0 0,26"
    else
      draw="translate $x,$y rotate $angle polygon $shape"
    fi
    convert -size 200x150 xc:'#F8F0E0' \
      -fill "$colour" -stroke '#202020' -strokewidth 2 -draw "$draw" \
      "$work/f$(printf %02d "$i").png"
  done
  ffmpeg -loglevel error -y -framerate 10 -i "$work/f%02d.png" \
    -c:v mjpeg -q:v 4 -pix_fmt yuvj420p -an \
    -fflags +bitexact -flags:v +bitexact -map_metadata -1 \
    "formes/media/$name.avi"
}

make_formes() {
  mkdir -p formes/media
  film cercle circle
  film triangle '0,-30 26,15 -26,15'
  film losange '0,-32 20,0 0,32 -20,0'
  film croix '-9,-28 9,-28 9,-9 28,-9 28,9 9,9 9,28 -9,28 -9,9 -28,9 -28,-9 -9,-9'
}

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(animaux formes)
for target in "${targets[@]}"; do
  case $target in
    animaux) make_animaux ;;
    formes) make_formes ;;
    *) echo "make-media.sh: unknown quiz '$target' (animaux or formes)" >&2; exit 2 ;;
  esac
done
