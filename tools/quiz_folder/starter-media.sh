#!/usr/bin/env bash
# Makes the small media of the starter folders that 'trivo-make new' writes (coloured squares for
# the picture quiz, three notes for the audio quiz) and writes them as byte arrays into
# tools/quiz_folder/starter_media.cpp. The films of the video quiz are drawn by starter.cpp itself.
# The output is committed; run this again only to change the media. Needs imagemagick, ffmpeg (with
# lame) and fonts-dejavu-core; ffmpeg is told to leave its version out of the files (bitexact).
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

i=1
for colour in "#D62828 ROUGE" "#2A9D3A VERT" "#1D4ED8 BLEU"; do
  set -- $colour
  convert -size 160x120 "xc:$1" "$work/q$i.gif"
  convert -size 160x120 "xc:$1" +antialias -font DejaVu-Sans-Bold -pointsize 30 -fill white \
    -gravity center -annotate +0+0 "$2" -colors 2 "$work/a$i.gif"
  i=$((i + 1))
done
for note in "la 440" "do 523" "mi 659"; do
  set -- $note
  ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=$2:duration=0.4:sample_rate=16000" \
    -af "afade=t=out:st=0.3:d=0.1" -ac 1 -c:a libmp3lame -b:a 16k -write_xing 0 -id3v2_version 0 \
    -write_id3v1 0 -fflags +bitexact -map_metadata -1 -f mp3 "$work/$1.mp3"
done

out=starter_media.cpp
{
  echo "// The media of the starter folders, made by tools/quiz_folder/starter-media.sh (do not edit by hand): three"
  echo "// coloured squares and their answer cards as GIF, and three notes (la, do, mi) as MP3 frames."
  echo "#include \"tools/quiz_folder/starter_media.h\""
  echo
  echo "namespace {"
  names=()
  for file in q1.gif q2.gif q3.gif a1.gif a2.gif a3.gif la.mp3 do.mp3 mi.mp3; do
    symbol=$(echo "$file" | tr '.' '_' | tr a-z A-Z)
    names+=("$file:$symbol")
    echo
    echo "const unsigned char $symbol[] = {"
    xxd -i -c 16 <"$work/$file" | sed 's/^ */    /'
    echo "};"
  done
  echo
  echo "const StarterMedia MEDIA[] = {"
  for entry in "${names[@]}"; do
    echo "    {\"${entry%%:*}\", ${entry#*:}, sizeof ${entry#*:}},"
  done
  echo "};"
  echo
  echo "}  // namespace"
  echo
  echo "const StarterMedia* starterMedia(const char* name) {"
  echo "    for (const StarterMedia& media : MEDIA) {"
  echo "        if (std::strcmp(media.name, name) == 0) return &media;"
  echo "    }"
  echo "    return nullptr;"
  echo "}"
} >"$out"
echo "wrote tools/quiz_folder/$out"
