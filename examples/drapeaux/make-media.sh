#!/usr/bin/env bash
# Draws the flags of the sample quiz with ImageMagick. The pictures are committed; run this again
# only to change them.
set -eu
cd "$(dirname "$0")"
flag3v() { convert -size 300x200 xc:"$2" -fill "$3" -draw "rectangle 100,0 199,199" -fill "$4" -draw "rectangle 200,0 299,199" -quality 85 "$1"; }
flag3h() { convert -size 300x200 xc:"$2" -fill "$3" -draw "rectangle 0,67 299,133" -fill "$4" -draw "rectangle 0,134 299,199" "$1"; }
flag3v q1.jpg '#0055A4' white '#EF4135'                 # France
flag3v q2.jpg '#009246' white '#CE2B37'                 # Italie
flag3h q3.gif black '#DD0000' '#FFCE00'                 # Allemagne
convert -size 300x200 xc:white -fill '#BC002D' -draw "circle 150,100 150,160" q4.gif  # Japon
flag3v q5.jpg black '#FDDA24' '#EF3340'                 # Belgique
convert -size 300x200 xc:'#D52B1E' -fill white -draw "rectangle 125,40 175,160" -draw "rectangle 90,75 210,125" q6.gif  # Suisse (carré réduit)
# Answer pictures: the same flag with the country's name under it.
i=1
for name in France Italie Allemagne Japon Belgique Suisse; do
  src=$(ls q$i.*)
  convert "$src" -resize 240x160 -background white -gravity center -extent 260x200 \
    -font DejaVu-Sans-Bold -pointsize 22 -fill black -gravity south -annotate +0+6 "$name" a$i.jpg
  i=$((i + 1))
done
