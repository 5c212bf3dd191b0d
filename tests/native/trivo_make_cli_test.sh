#!/usr/bin/env bash
# trivo-make as a user runs it: exit codes, bytes written, messages. Usage: trivo_make_cli_test.sh TOOL
set -u
TOOL=${1:?usage: trivo_make_cli_test.sh PATH_TO_TRIVO_MAKE [PATH_TO_TINY_PE]}
if [ ! -x "$TOOL" ]; then
  echo "FAIL: $TOOL is not an executable file"
  exit 1
fi
TOOL=$(cd "$(dirname "$TOOL")" && pwd)/$(basename "$TOOL")  # the checks run in a scratch folder
# tiny_pe writes a small PE32 program that stands in for the player in the build and dump checks.
TINY_PE=${2:-}
if [ -n "$TINY_PE" ]; then TINY_PE=$(cd "$(dirname "$TINY_PE")" && pwd)/$(basename "$TINY_PE"); fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect NAME EXPECTED ACTUAL
expect() {
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; fi
}

hex() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' | tr a-f A-F; }

# run ARGS...: sets status, out, err.
run() {
  "$TOOL" "$@" >stdout.txt 2>stderr.txt
  status=$?
  out=$(cat stdout.txt)
  err=$(cat stderr.txt)
}

# ---- pack: the exact bytes of known streams
printf 'abc' >abc
run pack abc abc.lzw
expect "pack abc status" 0 "$status"
expect "pack abc bytes" "30 98 8C 70 00" "$(hex abc.lzw)"
expect "pack abc stderr" "" "$err"

printf 'aaaaaaa' >seven
run pack seven seven.lzw
expect "pack aaaaaaa status" 0 "$status"
expect "pack aaaaaaa bytes" "30 C0 E0 86 18 00" "$(hex seven.lzw)"

# ---- round trip of a text with every byte value and repeats
{
  for i in $(seq 1 40); do printf 'Question %d : Quelle est la capitale ?\r\n' "$i"; done
  printf "$(printf '\\%03o' $(seq 0 255))"
} >quiz.txt
run pack quiz.txt quiz.lzw
expect "pack quiz status" 0 "$status"
run unpack quiz.lzw quiz.out
expect "unpack quiz status" 0 "$status"
if ! cmp -s quiz.txt quiz.out; then fail "unpack did not restore quiz.txt"; fi
if [ "$(stat -c %s quiz.lzw)" -ge "$(stat -c %s quiz.txt)" ]; then fail "quiz.lzw is not smaller than quiz.txt"; fi

# ---- failures: status line, exit 1, no output file
# a, b, c as 9-bit literals, then code 400, which no dictionary entry has yet.
printf '\x30\x98\x8C\x79\x00' >corrupt
run unpack corrupt corrupt.out
expect "unpack corrupt status" 1 "$status"
expect "unpack corrupt stderr" "trivo-make unpack: BadStream after 2 bytes" "$err"
expect "unpack corrupt stdout" "" "$out"
if ls corrupt.out* >/dev/null 2>&1; then fail "unpack of a corrupt stream left $(ls corrupt.out*)"; fi

: >empty
run pack empty empty.lzw
expect "pack empty status" 1 "$status"
expect "pack empty stderr" "trivo-make pack: NoInput" "$err"
if [ -e empty.lzw ]; then fail "pack of an empty file wrote empty.lzw"; fi

# ---- judge
run judge "TOUR EIFFEL" "tour eif"
expect "judge Trop court status" 0 "$status"
expect "judge Trop court" "Trop court" "$out"

# e acute is not folded to E acute: two substitutions.
run judge "été" "ÉTÉ"
expect "judge accents status" 0 "$status"
expect "judge accents" "Presque" "$out"

run judge "ABCDEFGHIJKLMNOP" "ABCDEFGHIJKLMXYZ"
expect "judge similar (UTF-8 output)" "yade lidée" "$out"

run judge "中" "x"
expect "judge CJK status" 2 "$status"
expect "judge CJK stdout" "" "$out"
expect "judge CJK stderr" "trivo-make judge: expected answer: U+4E2D '中' at offset 0 is not in code page 1252" "$err"

printf 'TOUR EIFFEL\ttour eif\r\nParis\t  paris \n\xc3\xa9t\xc3\xa9\t\xc3\x89T\xc3\x89\n' >lines.tsv
"$TOOL" judge <lines.tsv >stdout.txt 2>stderr.txt
expect "judge lines status" 0 "$?"
expect "judge lines" "$(printf 'Trop court\nBRAVO\nPresque')" "$(cat stdout.txt)"

# A bad line is reported and the others judged; --tsv rows say which verdict is whose.
printf 'TOUR EIFFEL\ttour eif\nno tab here\nPARIS\tparsi\n' >mixed.tsv
run judge --tsv mixed.tsv
expect "judge --tsv with a bad line status" 2 "$status"
expect "judge --tsv rows" "$(printf 'TOUR EIFFEL\ttour eif\tTrop court\nPARIS\tparsi\tAnagramme')" "$out"
expect "judge --tsv bad line" \
  "trivo-make judge: line 2 has no TAB between the expected and the typed answer; see 'trivo-make judge --help'" "$err"
# On a terminal, judge without arguments does not wait for lines that nobody types.
if command -v script >/dev/null; then
  timeout 10 script -qec "'$TOOL' judge" /dev/null >tty.txt 2>&1
  expect "judge on a terminal status" 2 "$?"
  case "$(tr -d '\r' <tty.txt)" in "trivo-make judge: give EXPECTED and TYPED"*) ;; *) fail "judge on a terminal: $(cat tty.txt)" ;; esac
fi

# ---- help and usage errors
run --help
expect "--help status" 0 "$status"
case "$out" in "Usage: trivo-make "*"judge EXPECTED TYPED"*"pack IN OUT"*"unpack IN OUT"*) ;; *) fail "--help does not list the commands: $out" ;; esac
run compress abc
expect "unknown command status" 2 "$status"
expect "unknown command stderr" "trivo-make: unknown command 'compress'; see 'trivo-make --help'" "$err"
run chek starter
expect "close command status" 2 "$status"
expect "close command stderr" "trivo-make: unknown command 'chek'; did you mean 'check'?" "$err"
run --version
expect "--version status" 0 "$status"
case "$out" in "trivo-make "[0-9]*.[0-9]*.[0-9]*) ;; *) fail "--version: $out" ;; esac
version=$out
run -V
expect "-V" "$version" "$out"
# ---- new, check, build and dump: quiz folders
run new starter --kind picture
expect "new status" 0 "$status"
expect "new files" "media/a1.gif media/a2.gif media/a3.gif media/q1.gif media/q2.gif media/q3.gif quiz.toml" \
  "$(cd starter && find . -type f | sed 's|^\./||' | sort | xargs)"
run new starter --kind text
expect "new over a folder in use status" 1 "$status"
expect "new over a folder in use stderr" "trivo-make new: 'starter' already exists and is not empty" "$err"
run new other
expect "new without --kind status" 2 "$status"
expect "new without --kind stderr" \
  "trivo-make new: needs --kind text, picture, audio or video, or --from CSV; see 'trivo-make new --help'" "$err"
if [ -e other ]; then fail "new without --kind wrote other"; fi
run new other --kind image
expect "new --kind image" "2 trivo-make new: --kind must be text, picture, audio or video, not 'image'; did you mean 'picture'?" "$status $err"
run check nowhere
expect "check nowhere" "1 nowhere/quiz.toml: error: the folder 'nowhere' does not exist" "$status $err"
# A spreadsheet as a French one saves it (code page 1252, semicolons), with its pictures beside it.
mkdir -p sheet/photos && cp starter/media/q1.gif sheet/photos/rouge.gif
printf 'Texte;R\xe9ponse;M\xe9dia\r\n"Quelle couleur ?";ROUGE;photos\\rouge.gif\r\n;VERT;photos/rouge.gif\r\n' >sheet/couleurs.csv
run new couleurs --from sheet/couleurs.csv
expect "new --from" "0|wrote couleurs: a picture quiz of 2 questions from 'sheet/couleurs.csv'
couleurs/quiz.toml: 0 errors, 1 warning
then
  trivo-make play couleurs
  trivo-make build couleurs|couleurs/quiz.toml:40: warning: question 1: text is shown only in text quizzes: players never see it" \
  "$status|$out|$err"
expect "new --from files" "media/rouge.gif quiz.toml" "$(cd couleurs && find . -type f | sed 's|^\./||' | sort | xargs)"

run check starter
expect "check starter status" 0 "$status"
expect "check starter" "starter/quiz.toml: 0 errors, 0 warnings (picture quiz, 3 questions, 6 media files)" "$out"

# The same folder with four problems: a character outside code page 1252, a second answer in a one-slot
# quiz, a missing picture, and an accented answer that some typings miss (a note).
cp -r starter broken
sed -i 's/^title = .*/title = "Quiz ✓"/; 0,/^answer = "ROUGE".*/s//answer = "rouge"\nanswer2 = "ROSE"/' broken/quiz.toml
sed -i 's/^answer = "VERT"/answer = "vert clair é"/' broken/quiz.toml
rm broken/media/q3.gif
run check broken
expect "check broken status" 1 "$status"
# Problems on standard error, the summary on standard output.
expect "check broken" "broken/quiz.toml:13:15: error: title holds a character outside code page 1252, which the player cannot show: U+2713 '✓' at column 15
broken/quiz.toml:41: error: question 1: answer2 is given but the quiz has one answer slot (slots = 1)
broken/quiz.toml:46: note: question 2: answer \"vert clair é\" has accented letters, and the player folds only a to z: \"vert clair é\" gets \"BRAVO\"; \"Vert Clair É\", \"VERT CLAIR É\" and \"vert clair e\" get \"Quasiment\"
broken/quiz.toml:52: error: question 3: media: cannot read 'media/q3.gif': No such file or directory" "$err"
expect "check broken summary" "broken/quiz.toml: 3 errors, 0 warnings, 1 note" "$out"
run check broken/quiz.toml
expect "check names the manifest itself" 1 "$status"
run check
expect "check without DIR status" 2 "$status"

if [ -z "$TINY_PE" ]; then
  fail "no tiny_pe given: build and dump are not checked"
else
  "$TINY_PE" player.exe
  run build starter -o starter.exe --player player.exe
  expect "build status" 0 "$status"
  expect "build stdout" "wrote starter.exe: picture quiz, 3 questions, 6 media files" "$out"
  expect "build stderr" "" "$err"
  expect "build writes a program" "4d 5a" "$(od -An -tx1 -N2 starter.exe | xargs)"

  run build broken -o broken.exe --player player.exe
  expect "build broken status" 1 "$status"
  expect "build broken last line" "trivo-make build: broken/quiz.toml: 3 errors, 0 warnings, 1 note; nothing written" \
    "$(printf '%s\n' "$err" | tail -n 1)"
  printf 'not a program' >text.exe
  run build starter -o bad.exe --player text.exe
  expect "build with a player that is no program status" 1 "$status"
  case "$err" in "trivo-make build: player 'text.exe' cannot carry the quiz: "*) ;; *) fail "build with text.exe: $err" ;; esac
  run build starter -o missing/dir/out.exe --player player.exe
  expect "build to a missing folder status" 1 "$status"
  expect "build to a missing folder" "trivo-make build: cannot write 'missing/dir/out.exe': No such file or directory" "$err"
  # The player is looked for beside the tool, then in ../share/trivo/, then, at the top of a build
  # tree, in the MinGW tree beside it; with none, the message names every place.
  mkdir -p inst/bin inst/share/trivo tree/native tree/mingw/app
  cp "$TOOL" inst/bin/trivo-make
  cp "$TOOL" tree/native/trivo-make
  TOOL="$WORK/inst/bin/trivo-make" run build starter -o beside.exe
  expect "build without a player" "1 trivo-make build: no player: '$WORK/inst/bin/trivo.exe', \
'$WORK/inst/share/trivo/trivo.exe': none of these exists; name one with --player PLAYER.exe" "$status $err"
  cp player.exe inst/share/trivo/trivo.exe
  TOOL="$WORK/inst/bin/trivo-make" run build starter -o installed.exe
  expect "build over ../share/trivo/trivo.exe" "0 same" "$status $(cmp -s starter.exe installed.exe && echo same)"
  cp text.exe inst/bin/trivo.exe
  TOOL="$WORK/inst/bin/trivo-make" run build starter -o beside.exe
  case "$status $err" in "1 trivo-make build: player '$WORK/inst/bin/trivo.exe' cannot carry"*) ;; *) fail "beside first: $err" ;; esac
  cp player.exe tree/mingw/app/trivo.exe
  TOOL="$WORK/tree/native/trivo-make" run build starter -o beside.exe
  expect "no build tree without its CMakeCache.txt" 1 "$status"
  touch tree/native/CMakeCache.txt
  TOOL="$WORK/tree/native/trivo-make" run build starter -o tree.exe
  expect "build over the build tree's player" "0 same" "$status $(cmp -s starter.exe tree.exe && echo same)"
  for f in broken.exe bad.exe beside.exe missing; do
    if [ -e "$f" ]; then fail "a failed build left $f"; fi
  done
  if ls ./*.tmp* >/dev/null 2>&1; then fail "a failed build left $(ls ./*.tmp*)"; fi
  # Without -o, the program is named after the folder, beside it; without .exe, the message says what it is.
  run build starter --player player.exe
  expect "build without -o" "0 wrote starter.exe: picture quiz, 3 questions, 6 media files" "$status $out"
  [ -f starter.exe ] || fail "build without -o wrote no starter.exe beside the folder"
  run build starter -o plain --player player.exe
  expect "build -o without .exe" "wrote plain (a Windows program: Windows starts it only under a name ending in .exe, such as plain.exe): picture quiz, 3 questions, 6 media files" "$out"

  run dump starter.exe -o back
  expect "dump status" 0 "$status"
  expect "dump stdout" "wrote back: picture quiz, 3 questions, 6 media files" "$out"
  for f in q1 q2 q3 a1 a2 a3; do
    if ! cmp -s "starter/media/$f.gif" "back/media/$f.gif"; then fail "dump did not restore media/$f.gif"; fi
  done
  # Built again from what dump wrote, with the same player: the very same program.
  run build back -o again.exe --player player.exe
  expect "build of the dump status" 0 "$status"
  if ! cmp -s starter.exe again.exe; then fail "the dumped folder does not build to the same program"; fi
  # Rebuilding over a quiz program keeps nothing of its old quiz.
  "$TOOL" new small --kind text >/dev/null
  run build small -o starter.exe --player starter.exe
  expect "rebuild over a quiz program status" 0 "$status"
  run dump starter.exe -o small-back
  expect "rebuilt program holds the new quiz only" "quiz.toml" "$(cd small-back && find . -type f | sed 's|^\./||' | xargs)"

  run dump player.exe -o none
  expect "dump of a program without a quiz status" 1 "$status"
  expect "dump of a program without a quiz" "trivo-make dump: 'player.exe': it carries no quiz (no PATCH 104 resource)" "$err"
  if [ -e none ]; then fail "a failed dump left the folder none"; fi
  run dump starter.exe -o back
  expect "dump into a folder in use status" 1 "$status"

  # The web page: from the folder, and from the program built of it, with the same packed quiz.
  run build back -o back.HTML
  expect "build a page" "0 wrote back.HTML: picture quiz, 3 questions, 6 media files; a page of N KB, its media N KB in base64" \
    "$status $(sed -E 's/[0-9]+ KB/N KB/g' <<<"$out")"
  run build again.exe -o again.page --format web
  expect "build a page from a program" 0 "$status"
  packed() { grep -o 'id="trivo-c[a-z]*" data-type="[^"]*">[^<]*' "$1"; }
  expect "the program's page carries its packed quiz" "$(packed back.HTML)" "$(packed again.page)"
  case "$(head -c 400 back.HTML)" in *"Content-Security-Policy\" content=\"default-src 'none';"*) ;; *) fail "no policy in back.HTML" ;; esac
  run build player.exe -o none.html
  expect "a page of a program without a quiz" "1 trivo-make build: 'player.exe': it carries no quiz (no PATCH 104 resource); nothing written" "$status $err"
fi

# ---- a hostile player: its first section's data starts inside its section table (offset 0x14C holds
# .text's file offset); it is refused, and the program written before stays.
if [ -n "$TINY_PE" ]; then
  cp player.exe overlapping.exe
  printf '\x00\x01' | dd of=overlapping.exe bs=1 seek=$((0x14C)) conv=notrunc 2>/dev/null
  cp starter.exe kept.exe
  run build starter -o kept.exe --player overlapping.exe
  expect "build over an overlapping player status" 1 "$status"
  case "$err" in *"the data of section .text starts inside the section table"*) ;; *) fail "overlapping player: $err" ;; esac
  if ! cmp -s starter.exe kept.exe; then fail "a refused build changed kept.exe"; fi
fi

# ---- play, with stand-in Wine loaders: each logs what it was given, writes an answers file where
# it runs, as the player does, and ends with $FAKE_STATUS. The tool is copied beside a 32-bit and a
# 64-bit stand-in player, and makes its temporary folders under its own TMPDIR and its Wine prefixes
# under its own HOME.
if [ -n "$TINY_PE" ]; then
  unset WINEPREFIX WINEDEBUG XDG_CACHE_HOME
  mkdir -p bin tmp home
  cp "$TOOL" bin/trivo-make
  "$TINY_PE" bin/trivo.exe
  "$TINY_PE" --64 bin/trivo64.exe
  fake_loader() {  # NAME: a loader that logs into NAME.log
    printf '#!/bin/sh\n{ echo "program=$1"; echo "cwd=$(pwd)"; echo "WINELOADER=$WINELOADER";
echo "WINEARCH=${WINEARCH-}"; echo "WINEPREFIX=${WINEPREFIX-}"; } >"%s"
echo answers >quiz.txt
echo "err:wine says this" >&2
exit ${FAKE_STATUS:-0}\n' "$WORK/$1.log" >"$1"
    chmod +x "$1"
  }
  fake_loader fake32
  fake_loader fake64
  printf '#!/bin/sh\necho "/usr/lib/wine/wine: cannot execute binary file: Exec format error" >&2\nexit 126\n' >refused32
  printf '\177ELF\001\001\001garbage' >noexec32
  chmod +x refused32 noexec32
  # play_with LOADER32 ARGS...: play under the stand-in loaders, with a display.
  play_with() {
    local loader32=$1 TOOL="$WORK/bin/trivo-make"
    shift
    rm -f fake32.log fake64.log
    DISPLAY=:99 TMPDIR="$WORK/tmp" HOME="$WORK/home" WINE_LOADER_WIN32="$WORK/$loader32" \
      WINE_LOADER_WIN64="$WORK/fake64" WINESERVER=/bin/true run "$@"
  }
  logged() { sed -n "s/^$2=//p" "$1.log" 2>/dev/null; }

  # The first start prepares Trivo's own prefix, set up as the scripts do; Wine's lines stay off.
  own32="$WORK/home/.cache/trivo/wine-win32"
  play_with fake32 play starter
  expect "play status" 0 "$status"
  expect "play stdout" "played starter: picture quiz, 3 questions, 6 media files" "$out"
  expect "play stderr" "trivo-make play: preparing Trivo's own Wine prefix '$own32' for its first start (about 20 s, once)
trivo-make play: opening starter (32-bit, with Wine); close its window to end" "$err"
  expect "play's prefix" "$own32 win32 MS Sans Serif" \
    "$(logged fake32 WINEPREFIX) $(logged fake32 WINEARCH) $(grep -o 'MS Sans Serif' "$own32/drive_c/trivo.reg")"
  play_with fake32 play starter
  expect "play again: no preparing" "trivo-make play: opening starter (32-bit, with Wine); close its window to end" "$err"
  cwd=$(logged fake32 cwd)
  expect "play runs the program built in its folder" "$cwd/quiz.exe" "$(logged fake32 program)"
  expect "play: WINELOADER names the 32-bit loader" "$WORK/fake32" "$(logged fake32 WINELOADER)"
  case "$cwd" in "$WORK/tmp/"*) ;; *) fail "play ran in $cwd, not a folder of its own under TMPDIR" ;; esac
  expect "play removes its folder and the answers" "" "$(ls tmp)"

  # Where 32-bit programs do not run (the kernel refuses the loader, a shell reports it refused, or
  # the loader is not there), that is said once at the start, and the folder is built over the 64-bit
  # player and run with the 64-bit loader in Trivo's 64-bit prefix.
  for loader32 in noexec32 refused32 missing32; do
    play_with "$loader32" play starter
    expect "play with $loader32 status" 0 "$status"
    expect "play with $loader32: 64-bit loader" "$WORK/fake64" "$(logged fake64 WINELOADER)"
    expect "play with $loader32: WINEARCH" "win64" "$(logged fake64 WINEARCH)"
    expect "play with $loader32: prefix" "$WORK/home/.cache/trivo/wine-win64" "$(logged fake64 WINEPREFIX)"
    case "$err" in "trivo-make play: this machine does not run 32-bit Windows programs: "*"; the quiz is built over the 64-bit player trivo64.exe"*"opening starter (64-bit, with Wine)"*) ;; *) fail "play with $loader32: $err" ;; esac
    case "$err" in *"32-bit, with Wine"*) fail "play with $loader32 announced the 32-bit player: $err" ;; esac
  done
  WINEPREFIX="$WORK/mine" play_with missing32 play starter
  expect "play keeps the user's WINEPREFIX" "$WORK/mine" "$(logged fake64 WINEPREFIX)"

  # A program is played as it is, in place, with the loader of its kind; the answers still go.
  play_with fake32 play starter.exe
  expect "play QUIZ.exe status" 0 "$status"
  expect "play QUIZ.exe in place" "$WORK/starter.exe" "$(logged fake32 program)"
  "$TOOL" build small -o small64.exe --player bin/trivo64.exe >/dev/null
  play_with fake32 play small64.exe
  expect "play a 64-bit QUIZ.exe" "$WORK/small64.exe" "$(logged fake64 program)"
  # A 32-bit program where none runs: its quiz is played over the 64-bit player.
  play_with refused32 play - <starter.exe
  expect "play a 32-bit program where none runs status" 0 "$status"
  case "$err" in *"Exec format error; its quiz is built over the 64-bit player trivo64.exe"*"opening standard input (64-bit, with Wine)"*) ;; *) fail "play refused: $err" ;; esac
  case "$(logged fake64 program)" in "$WORK/tmp/"*/quiz.exe) ;; *) fail "play refused ran $(logged fake64 program)" ;; esac

  FAKE_STATUS=3 play_with fake32 play starter
  expect "play of a program that fails status" 1 "$status"
  expect "play of a program that fails" "trivo-make play: Wine: err:wine says this
trivo-make play: the quiz program ended with exit status 3" "$(printf '%s\n' "$err" | tail -n 2)"
  play_with fake32 play broken
  expect "play of a folder with errors status" 1 "$status"
  expect "play of a folder with errors" "trivo-make play: broken/quiz.toml: 3 errors, 0 warnings, 1 note; not played" \
    "$(printf '%s\n' "$err" | tail -n 1)"
  play_with fake32 play starter.exe --player bin/trivo.exe
  expect "play QUIZ.exe --player status" 2 "$status"
  DISPLAY= TMPDIR="$WORK/tmp" TOOL="$WORK/bin/trivo-make" run play starter
  expect "play without a display" "1 trivo-make play: no display to open the quiz on (DISPLAY is not set); run play in a graphical session" "$status $err"

  # Interrupted while the quiz is open, play ends the program and still cleans up.
  printf '#!/bin/sh\ntouch "%s/started"\nexec sleep 30\n' "$WORK" >sleeping32
  chmod +x sleeping32
  DISPLAY=:99 TMPDIR="$WORK/tmp" WINE_LOADER_WIN32="$WORK/sleeping32" bin/trivo-make play starter >stdout.txt 2>stderr.txt &
  player=$!
  for _ in $(seq 100); do [ -e started ] && break; sleep 0.1; done
  kill -TERM "$player"
  wait "$player"
  expect "play ended by a signal status" 1 "$?"
  expect "play ended by a signal" "trivo-make play: interrupted" "$(tail -n 1 stderr.txt)"
  expect "play cleans up after every run" "" "$(ls tmp)"
fi

for command in new check play build dump; do
  run "$command" --help
  expect "$command --help status" 0 "$status"
  case "$out" in "Usage: trivo-make $command "*) ;; *) fail "$command --help: $out" ;; esac
done

if [ "$failures" -ne 0 ]; then
  echo "trivo_make_cli_test: $failures check(s) failed"
  exit 1
fi
echo "trivo_make_cli_test: all checks passed"
