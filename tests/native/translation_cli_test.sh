#!/usr/bin/env bash
# trivo-make in the user's language: check on a folder with an author's mistakes of every kind, help
# and usage errors, under French locales (generated here, as a fresh machine has none) and others.
# Usage: translation_cli_test.sh TOOL
set -u
TOOL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
# Each run names its own language.
unset LC_ALL LC_MESSAGES LANGUAGE
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; fi; }

# The locales the tests ask for, in a folder of their own (LOCPATH), without touching the system's.
mkdir locales
localedef -i fr_FR -f UTF-8 locales/fr_FR.UTF-8 2>/dev/null
localedef -i fr_BE -f ISO-8859-1 locales/fr_BE 2>/dev/null
[ -d locales/fr_FR.UTF-8 ] || fail "localedef could not make fr_FR.UTF-8 (the locales package)"

. "$HERE/../lib/faulty_quiz.sh"
write_faulty_quiz q

# check LOCALE...: sets out, err, status of check q under those variables.
check() {
    env "$@" "$TOOL" check q >out.txt 2>err.txt
    status=$?
    out=$(cat out.txt)
    err=$(cat err.txt)
}

check LANG=C
english_err=$err
expect "English check: summary" "q/quiz.toml: 6 errors, 9 warnings, 1 note" "$out"
expect "English check: status" 1 "$status"
grep -q "^q/quiz.toml:17: error: question 2: media: cannot read 'nothere.jpg': No such file or directory$" err.txt ||
    fail "English check: the missing media file ($err)"

check LOCPATH="$WORK/locales" LANG=fr_FR.UTF-8
french_err=$err
expect "French check: summary" "q/quiz.toml : 6 erreurs, 9 avertissements, 1 remarque" "$out"
expect "French check: status" 1 "$status"
expect "French check: as many lines as in English" "$(wc -l <<<"$english_err")" "$(wc -l <<<"$french_err")"
# Every diagnostic in French: the severity words, and none of the English words of any message.
expect "French check: lines with an English severity" 0 "$(grep -c ': \(error\|warning\|note\|hint\): ' err.txt)"
expect "French check: lines with a French severity" 16 "$(grep -c '^q/quiz.toml:[0-9]*: \(erreur\|avertissement\|remarque\) : ' err.txt)"
expect "French check: English words left" "" \
    "$(grep -o -w 'the\|is\|holds\|must\|write\|cannot\|unknown\|with\|not\|gets\|get' err.txt | sort -u | paste -sd ' ' -)"
for line in \
    "q/quiz.toml:3: avertissement : la clé inconnue « tittle » est ignorée ; vouliez-vous dire « title » ?" \
    "q/quiz.toml:4: erreur : slots doit être un nombre entier, pas un texte : écrivez slots = 2, sans guillemets" \
    "q/quiz.toml:11: erreur : question 1 : media 'media\\q1.jpg' contient « \\ » ; écrivez les chemins avec « / » pour que le dossier se construise partout : \"media/q1.jpg\"" \
    "q/quiz.toml:17: erreur : question 2 : media : impossible de lire « nothere.jpg » : Aucun fichier ou dossier de ce nom"; do
    grep -qxF "$line" err.txt || fail "French check: no line [$line] in [$french_err]"
done

# The mistakes that stop the reading of quiz.toml: its syntax, its encoding.
mkdir s
printf 'kind = "picture"\ntitle = \xe9t\xe9\n' >s/quiz.toml
LANG=fr "$TOOL" check s 2>err.txt >/dev/null
expect "French check: a file of code page 1252" \
    "s/quiz.toml:2:9: erreur : quiz.toml n’est pas en UTF-8 : l’octet 0xE9, ici, est « é » dans la page de code 1252, celle où enregistrent les anciens éditeurs de Windows|    title = \\xE9t\\xE9|            ^|    conseil : enregistrez-le en UTF-8 (dans le Bloc-notes : Fichier, Enregistrer sous, Encodage : UTF-8)" \
    "$(paste -sd '|' err.txt)"
printf 'kind = "picture"\ntitle = Drapeaux\n' >s/quiz.toml
LANG=fr "$TOOL" check s 2>err.txt >/dev/null
expect "French check: a text without quotes" \
    "s/quiz.toml:2:9: erreur : quiz.toml n’est pas écrit correctement à la ligne 2, colonne 9 (le lecteur TOML dit : Error while parsing value: could not determine value type)|    title = Drapeaux|            ^|    conseil : un texte s’écrit entre guillemets droits : title = \"Drapeaux\"" \
    "$(paste -sd '|' err.txt)"

# The languages that give French, and those that do not; a locale this machine lacks still does.
for vars in "LOCPATH=$WORK/locales LANG=fr_BE" "LANG=fr_CA.UTF-8" "LANG=fr" "LANG=de_DE.UTF-8 LANGUAGE=fr" \
            "LANG=en_US.UTF-8 LC_MESSAGES=fr_CH.UTF-8"; do
    check $vars
    expect "check under $vars" "q/quiz.toml : 6 erreurs, 9 avertissements, 1 remarque" "$out"
    expect "check under $vars: the same messages" "$french_err" "$err"
done
for vars in "LANG=de_DE.UTF-8" "LANG=C LANGUAGE=fr" "LC_ALL=C LANG=fr_FR.UTF-8" "LANG=en_GB.UTF-8"; do
    check $vars
    expect "check under $vars" "q/quiz.toml: 6 errors, 9 warnings, 1 note" "$out"
    expect "check under $vars: the same messages" "$english_err" "$err"
done

# Help, usage errors and plural forms.
LANG=fr "$TOOL" help build >help.txt
expect "French help build: its usage line" "Utilisation : trivo-make build DOSSIER [-o SORTIE.exe] [--player LECTEUR.exe]" \
    "$(head -n 1 help.txt)"
expect "French help build: its sections" "Options :|Exemples :|Code de retour :" "$(grep '^[A-Z].* :$' help.txt | paste -sd '|' -)"
LANG=fr "$TOOL" chek q 2>err.txt
expect "French unknown command" "trivo-make : commande inconnue « chek » ; vouliez-vous dire « check » ?" "$(cat err.txt)"
LANG=fr "$TOOL" build 2>err.txt
expect "French usage error" "trivo-make build : attend un dossier de quiz DOSSIER ou un programme QUIZ.exe, a reçu 0 nom ; voir « trivo-make build --help »" "$(cat err.txt)"
LANG=fr "$TOOL" new p --kind picture >/dev/null 2>&1
LANG=fr "$TOOL" check p >out.txt 2>/dev/null
expect "French summary of a clean folder" "p/quiz.toml : 0 erreur, 0 avertissement (quiz d’images, 3 questions, 6 fichiers de médias)" "$(cat out.txt)"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all checks passed"
